#pragma once
// Names that Windows cannot give a file, refused on every platform: the files
// this program writes are read by the voting application on Windows, and a
// name must behave the same wherever it is typed. The characters that a file
// name cannot hold are not looked at here: the windows refuse ten of them
// with a message of their own (CheckForInvalidChars), and a merge refuses the
// nine that no Windows file name holds (HoldsForbiddenCharacter).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace avelin {

// The longest file name component: 255 on NTFS and on the usual Linux file
// systems. Counted in bytes, which in a double-byte code page is stricter than
// Windows' count of characters.
inline constexpr std::size_t kMaxNameLength = 255;

// The longest path the platform opens: MAX_PATH (260) less its terminating NUL
// on Windows, PATH_MAX (4096) less it elsewhere.
#ifdef _WIN32
inline constexpr std::size_t kMaxPathLength = 259;
#else
inline constexpr std::size_t kMaxPathLength = 4095;
#endif

// True when `name` holds one of the nine characters that no Windows file name
// holds: \ / : * ? " < > |. A comma is allowed: only the windows' own checks
// refuse it, and a name they let through (a default group name "Mon,North",
// an output name picked in the save dialog) is merged.
bool HoldsForbiddenCharacter(const std::string& name);

// Why no file can be named `name` followed by `extension` (what the program
// appends: ".grp", ".rec" or nothing), as a sentence for the user; nullopt
// when the name is fine. `name` is judged as the user gave it:
//  - a device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, any letter
//    case) before the first full stop, with or without an extension;
//  - a control character (codes 0 to 31);
//  - a file name (name and extension) whose last character is a blank or a
//    full stop, which Windows drops without a word (so a file "North." would
//    be the file "North");
//  - name and extension together longer than kMaxNameLength.
std::optional<std::string> ReservedNameProblem(const std::string& name, const std::string& extension = "");

// Why a file named `fileName` cannot be written into `folder`: the path, or
// the temporary file that every write puts beside it first, would be longer
// than `limit`. nullopt when it fits.
std::optional<std::string> PathLengthProblem(const std::string& folder, const std::string& fileName,
                                             std::size_t limit = kMaxPathLength);

// Both rules for a file `name` followed by `extension`, to be written into
// `folder`: the name first, then the path.
std::optional<std::string> FileNameProblem(const std::string& folder, const std::string& name,
                                           const std::string& extension, std::size_t limit = kMaxPathLength);

// Both rules for a whole path that the user chose, written as it stands (no
// extension appended): its last component is the name.
std::optional<std::string> ChosenPathProblem(const std::string& path, std::size_t limit = kMaxPathLength);

} // namespace avelin
