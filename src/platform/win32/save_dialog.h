#pragma once
// The save-file dialog of Windows itself (GetSaveFileNameA): the path comes
// back exactly as the user typed or picked it, in the system code page. Qt's
// native dialog would append the filter's extension to a name typed without
// one, and the name chosen must stay as it was given.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/dialogs.h"

namespace avelin::win32 {

// Shows the dialog, owned by the window `owner` (an HWND, or 0). The chosen
// full path, or nullopt when the user cancels. Throws std::runtime_error with
// the dialog's error code when it cannot be shown.
std::optional<std::string> SaveFileName(const SaveDialogRequest& request, std::uintptr_t owner);

// The dialog's filter text: each "|" of `filter` becomes a NUL, and the whole
// ends in two NULs ("a (*.rec)|*.rec" gives "a (*.rec)\0*.rec\0\0").
std::string FilterForDialog(const std::string& filter);

} // namespace avelin::win32
