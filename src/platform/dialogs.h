#pragma once
// Message boxes and the save-file dialog, behind an interface so that tests
// can answer them. Styles and answers use the classic message-box numbers.
#include <optional>
#include <string>

namespace avelin {

namespace mb {
// Buttons
inline constexpr int OkOnly = 0;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
// Icons
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// Answers
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace mb

struct SaveDialogRequest {
    std::string filter;        // "description|pattern", e.g. "avelin results files (*.rec)|*.rec"
    std::string initialFolder; // folder the dialog opens in
    std::string fileName;      // name filled in
    bool hideReadOnly = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal message box; returns the answer (mb::Ok, mb::Yes, ...).
    // Texts are bytes in the system code page.
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    // Shows a save-file dialog; the chosen full path, or nullopt when cancelled.
    virtual std::optional<std::string> saveFileName(const SaveDialogRequest& request) = 0;
};

} // namespace avelin
