// Program files on Win32: whole-file reads, and writes that replace the file
// only once the new bytes are complete. The system's error codes 2 to 5 are
// the classic file-error codes already.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <string_view>

#include "errors.h"
#include "platform.h"
#include "win32_handle.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowFileError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED: throw ERuntime(FileErrorMessage(static_cast<int>(error)));
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: throw ERuntime(FileErrorMessage(101));
    default:
      // Not FileErrorMessage: codes such as 100 and 106 mean other things here.
      throw ERuntime("I/O error " + std::to_string(error));
  }
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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
    // A target we could not write in place (read-only, a directory, in use)
    // is refused as it would have been.
    {
      Handle existing(CreateFileA(name.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!existing.valid() && GetLastError() != ERROR_FILE_NOT_FOUND) {
        ThrowFileError(GetLastError());
      }
    }

    const std::string temp = name + ".tmp" + std::to_string(GetCurrentProcessId());
    Handle h(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) ThrowFileError(GetLastError());
    DWORD error = ERROR_SUCCESS;
    for (const char *p = bytes.data(), *end = p + bytes.size(); p < end;) {
      const DWORD chunk = end - p > 0x10000000 ? 0x10000000 : static_cast<DWORD>(end - p);
      DWORD written = 0;
      if (!::WriteFile(h.get(), p, chunk, &written, nullptr) || written == 0) {
        error = GetLastError();
        if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
        break;
      }
      p += written;
    }
    if (!h.Close() && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temp.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
      DeleteFileA(temp.c_str());
      ThrowFileError(error);
    }
  }
};

}  // namespace

FileSystem& ProgramFiles() {
  static Win32FileSystem files;
  return files;
}

}  // namespace basic::platform
