#pragma once
// A fake PowerPoint for the automation backend: another process running this
// program, whose application object answers from a script (powerpoint_script.h)
// and stands in the running object table under PowerPoint's class id, with a
// window titled as PowerPoint's. The test registers the ProgID.
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
    FakePowerPoint(const FakePowerPoint&) = delete;
    FakePowerPoint& operator=(const FakePowerPoint&) = delete;
    HWND window() const { return window_; }

  private:
    void stop();
    std::string file_;
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
};

} // namespace avelin::wintest
