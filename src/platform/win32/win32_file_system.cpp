// Program files on Win32: whole-file reads, and the safe whole-file writes.
// The system's error codes 2 to 5 are
// the classic file-error codes already.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <string_view>

#include "errors.h"
#include "platform.h"
#include "win32_handle.h"
#include "win32_safe_write.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowFileError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED: throw RuntimeFault(FileErrorMessage(static_cast<int>(error)));
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: throw RuntimeFault(FileErrorMessage(101));
    default:
      // Not FileErrorMessage: codes such as 100 and 106 mean other things here.
      throw RuntimeFault("I/O error " + std::to_string(error));
  }
}

class Win32FileSystem : public FileSystem {
 public:
  std::string ReadFile(const std::string& name) override {
    Handle h(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) ThrowFileError(GetLastError());
    std::string bytes;
    char chunk[65536];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(h.get(), chunk, sizeof chunk, &got, nullptr)) ThrowFileError(GetLastError());
      if (got == 0) return bytes;
      bytes.append(chunk, got);
    }
  }

  void WriteFile(const std::string& name, std::string_view bytes) override {
    if (DWORD error = WriteFileSafely(name, bytes)) ThrowFileError(error);
  }
};

}  // namespace

FileSystem& ProgramFiles() {
  static Win32FileSystem files;
  return files;
}

}  // namespace basic::platform
