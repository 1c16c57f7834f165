#pragma once
// Message boxes and the save dialog with Qt. Styles and answers are the
// classic message-box numbers; texts are bytes in the system code page.
#include <QString>

#include "platform/dialogs.h"

namespace avelin {

class QtDialogs : public Dialogs {
  public:
    // Buttons (style & 7): 0 OK, 1 OK Cancel, 2 Abort Retry Ignore, 3 Yes No
    // Cancel, 4 Yes No, 5 Retry Cancel. Icon (style & 0x70): 16 critical, 32
    // question, 48 exclamation, 64 information. Default button (style &
    // 0x300): 0 first, 256 second, 512 third. Closing the box answers like
    // its Cancel (or No, or OK when it has only that).
    int messageBox(const std::string& text, int style, const std::string& title) override;
    // A save dialog on the request's folder and name, without its own
    // overwrite question (the callers ask theirs). The chosen path uses the
    // native separators; nullopt when cancelled.
    std::optional<std::string> saveFileName(const SaveDialogRequest& request) override;
};

// "description|pattern|..." as a Qt name filter list joined by ";;"; a
// description that does not show its pattern in parentheses gets it added.
QString QtNameFilters(const std::string& filter);

} // namespace avelin
