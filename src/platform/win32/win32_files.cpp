// Files on Win32: the executable's own path, read-only access to it, and the
// whole-file helpers of the front end.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "errors.h"
#include "platform.h"
#include "win32_error_text.h"
#include "win32_handle.h"
#include "win32_safe_write.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowReadError() { throw RuntimeFault(msg::kStreamRead); }

class Win32ReadOnlyFile : public ReadOnlyFile {
 public:
  explicit Win32ReadOnlyFile(HANDLE h) : handle_(h) {}

  uint64_t Size() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_.get(), &size)) ThrowReadError();
    return static_cast<uint64_t>(size.QuadPart);
  }

  void Seek(uint64_t offset) override {
    LARGE_INTEGER to;
    if (offset > static_cast<uint64_t>(INT64_MAX)) ThrowReadError();
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN)) ThrowReadError();
  }

  uint64_t Position() override {
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(handle_.get(), zero, &pos, FILE_CURRENT)) ThrowReadError();
    return static_cast<uint64_t>(pos.QuadPart);
  }

  void ReadExact(void* buffer, size_t count) override {
    char* p = static_cast<char*>(buffer);
    while (count > 0) {
      DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
      DWORD got = 0;
      if (!ReadFile(handle_.get(), p, chunk, &got, nullptr) || got == 0) ThrowReadError();
      p += got;
      count -= got;
    }
  }

 private:
  Handle handle_;
};

std::string SystemError(const std::string& what, DWORD error) {
  const std::string text = SystemErrorText(error);
  return what + ": " + (text.empty() ? "error " + std::to_string(error) : text);
}

}  // namespace

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};  // Open then reports the empty path
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // truncated
  }
}

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
  // Others may read the file while we do, but nobody may change it.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw RuntimeFault(msg::kCannotOpenFile + path);
  return std::make_unique<Win32ReadOnlyFile>(h);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& errorText) {
  Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) {
    errorText = SystemError("cannot open " + path, GetLastError());
    return std::nullopt;
  }
  // Read to the end rather than trusting the size: pipes report none.
  std::string bytes;
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h.get(), chunk, sizeof chunk, &got, nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) return bytes;  // a pipe's writer has finished
      errorText = SystemError("cannot read " + path, error);
      return std::nullopt;
    }
    if (got == 0) return bytes;
    bytes.append(chunk, got);
  }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, bool /*executable*/,
                    std::string& errorText) {
  if (DWORD error = WriteFileSafely(path, bytes)) {
    errorText = SystemError("Cannot write file " + path, error);
    return false;
  }
  return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    // No access asked: any file or folder opens, whoever holds it.
    Handle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.valid() && GetFileInformationByHandle(h.get(), &info);
  };
  BY_HANDLE_FILE_INFORMATION first, second;
  return identify(a, first) && identify(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace basic::platform
