// The one way this platform writes a whole file (SAVE and --bind): a
// failure never leaves a half-written file where the old one was, and what
// the name stands for (a link, a file with other names, a device) stays so.
#pragma once

#include <string>
#include <string_view>

namespace basic::platform {

// Writes bytes as the whole content of the file path names.
//  - a symbolic link: the file it finally points to (made when missing);
//  - a regular file: a new copy made beside it, flushed to disk and renamed
//    over it, keeping its permissions (plus the run bits where it may be
//    read, for executable); with more than one name, rewritten in place;
//  - no file: made like that copy, 0666 less the umask, or 0755 for executable;
//  - a device, FIFO or socket: written directly;
//  - a directory: EISDIR.
// 0, or the errno of the failure; a copy begun is removed.
int WriteFileSafely(const std::string& path, std::string_view bytes, bool executable);

}  // namespace basic::platform
