// The one way this platform writes a whole file (SAVE and --bind): a
// failure never leaves a half-written file where the old one was, and what
// the name stands for (a link, a file with other names, a device) stays so.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace basic::platform {

// Writes bytes as the whole content of the file path names.
//  - a symbolic link: the file it finally points to (made when missing);
//  - a file on disk: a new copy made beside it with its attributes, flushed
//    to disk and moved over it; with more than one name, rewritten in place;
//  - no file: made like that copy;
//  - a device or pipe (NUL, CON, \\.\pipe\...): written directly.
// ERROR_SUCCESS, or the system's error code; a copy begun is removed.
DWORD WriteFileSafely(const std::string& path, std::string_view bytes);

}  // namespace basic::platform
