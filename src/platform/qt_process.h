#pragma once
// Process services of the avelin program: the single-copy test, the start of
// a program, the processing of pending events and the end of the program.
#include <memory>
#include <string>

#include "platform/process.h"

class QLockFile;

namespace avelin {

class QtProcess : public ProcessServices {
  public:
    // `singleCopyName` names the lock (tests use their own).
    explicit QtProcess(std::string singleCopyName = "avelin");
    ~QtProcess() override;

    // Windows: a named mutex in the user's session. Elsewhere: a lock file in
    // the temporary folder that names this process; a lock left by a process
    // that is gone is taken over. The first call takes the lock; the answer
    // is then kept.
    bool previousInstance() override;
    // Windows: CreateProcess in a normal window. Elsewhere: a detached
    // process. Throws FileError when the program cannot be started.
    void startProgram(const std::string& path) override;
    void processEvents() override;
    // Flushes the output and ends the process at once with status 0.
    void endProgram() override;

    // Where the lock file lies (not on Windows).
    std::string lockFilePath() const;

  private:
    std::string name_;
    int answer_ = -1; // -1: not asked yet
    std::unique_ptr<QLockFile> lock_;
};

} // namespace avelin
