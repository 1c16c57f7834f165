#include "platform/win32/save_dialog.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace avelin::win32 {

std::string FilterForDialog(const std::string& filter) {
    std::string text = filter;
    for (char& c : text)
        if (c == '|')
            c = '\0';
    text.append(2, '\0');
    return text;
}

std::optional<std::string> SaveFileName(const SaveDialogRequest& request, std::uintptr_t owner) {
    const std::string filter = FilterForDialog(request.filter);
    // Room for the longest path the dialog returns; the name filled in first.
    std::vector<char> file(32768, '\0');
    request.fileName.copy(file.data(), std::min(request.fileName.size(), file.size() - 1));

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    // No default extension: a name without one stays without it. The caller
    // asks its own overwrite question.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (request.hideReadOnly)
        dialog.Flags |= OFN_HIDEREADONLY;
    if (GetSaveFileNameA(&dialog))
        return std::string(file.data());
    if (const DWORD error = CommDlgExtendedError(); error != 0)
        throw std::runtime_error("The save dialog could not be shown (error " + std::to_string(error) + ").");
    return std::nullopt; // cancelled
}

} // namespace avelin::win32
