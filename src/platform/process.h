#pragma once
// Process services the start-up and the windows call. Tests script them.
#include <string>

namespace avelin {

class ProcessServices {
public:
    virtual ~ProcessServices() = default;
    // True only when another process of this program is running.
    virtual bool previousInstance() = 0;
    // Starts a program as a separate process in a normal window; does not wait.
    virtual void startProgram(const std::string& path) = 0;
    // Lets pending window events run once.
    virtual void processEvents() = 0;
    // Ends the program at once; no window's close handling runs. A test double
    // records the call and returns, so every caller returns right after it.
    virtual void endProgram() = 0;
};

} // namespace avelin
