#pragma once
// A fake PowerPoint: this program run again, its application object answering
// from a script (powerpoint_script.h), entered in the running object table
// under PowerPoint's class id, and a window titled as PowerPoint's.
#include <string>

#include "windows/harness.h"

namespace avelin::wintest {

inline constexpr char kPowerPointProgId[] = "PowerPoint.Application";
inline constexpr char kPowerPointClsid[] = "{91493441-5A91-11CF-8700-00AA0060263B}";
inline constexpr char kPowerPointScriptVariable[] = "AVELIN_WINTEST_POWERPOINT";

// The ProgID entered in (or removed from) the registry, naming the class id.
void RegisterPowerPoint(bool registered);
std::string ReadWholeFile(const std::string& path);
// The fake's side: serves the script in `scriptFile` until its window closes.
int RunFakePowerPoint(const char* scriptFile);

// The test's side: the fake started on `script`, running until destroyed.
class FakePowerPoint {
  public:
    explicit FakePowerPoint(const std::string& script);
    ~FakePowerPoint() { stop(); }
    HWND window() const { return window_; }

  private:
    void stop();
    std::string file_;
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
};

} // namespace avelin::wintest
