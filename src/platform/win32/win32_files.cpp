// Files on Win32: the executable's own path, read-only access to it, and the
// whole-file helpers of the front end.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "errors.h"
#include "platform.h"
#include "win32_handle.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowReadError() { throw ERuntime(msg::kStreamRead); }

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
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.')) --n;
  if (n == 0) return what + ": error " + std::to_string(error);
  return what + ": " + std::string(text, n);
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
  if (h == INVALID_HANDLE_VALUE) throw ERuntime(msg::kCannotOpenFile + path);
  return std::make_unique<Win32ReadOnlyFile>(h);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& errorText) {
  try {
    auto file = ReadOnlyFile::Open(path);
    uint64_t size = file->Size();
    if (size > 0x7FFFFFFF) ThrowReadError();
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0) file->ReadExact(bytes.data(), bytes.size());
    return bytes;
  } catch (const ERuntime& e) {
    errorText = e.what();
    return std::nullopt;
  }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, bool /*executable*/,
                    std::string& errorText) {
  // Written beside the target and moved over it, so a failed write never
  // leaves a half file.
  std::string temp = path + ".tmp" + std::to_string(GetCurrentProcessId());
  Handle h(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) {
    errorText = SystemError("Cannot create file " + path, GetLastError());
    return false;
  }
  const char* p = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
    DWORD written = 0;
    ok = WriteFile(h.get(), p, chunk, &written, nullptr) && written > 0;
    p += written;
    left -= written;
  }
  DWORD error = GetLastError();
  if (!h.Close() && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (ok) error = GetLastError();
  DeleteFileA(temp.c_str());
  errorText = SystemError("Cannot write file " + path, error);
  return false;
}

}  // namespace basic::platform
