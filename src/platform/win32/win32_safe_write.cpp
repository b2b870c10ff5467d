// Whole-file writes on Win32 that keep what the target name stands for.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "win32_safe_write.h"

#include <optional>
#include <string>

#include "temporary_name.h"
#include "win32_handle.h"

namespace basic::platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What a replacing copy takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The folder part of path with its final separator, or "" for a bare name.
std::string FolderPrefix(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The full name of the file a handle has open.
std::optional<std::string> OpenedName(HANDLE h) {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleA(h, name.data(), static_cast<DWORD>(name.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return std::nullopt;
    if (n < name.size()) {
      name.resize(n);
      return name;
    }
    name.resize(n);  // n: the size needed, with its NUL
  }
}

DWORD LastErrorOr(DWORD fallback) {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}

DWORD WriteAll(HANDLE h, std::string_view bytes) {
  for (const char *p = bytes.data(), *end = p + bytes.size(); p < end;) {
    const DWORD chunk = end - p > 0x10000000 ? 0x10000000 : static_cast<DWORD>(end - p);
    DWORD written = 0;
    if (!::WriteFile(h, p, chunk, &written, nullptr) || written == 0)
      return LastErrorOr(ERROR_WRITE_FAULT);
    p += written;
  }
  return ERROR_SUCCESS;
}

// A new file in folderPrefix under a name nobody could know beforehand,
// created exclusively: nothing planted there can receive the bytes.
HANDLE CreateTemporary(const std::string& folderPrefix, DWORD attributes, std::string& name) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = RandomTemporaryName(folderPrefix);
    HANDLE h =
        CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return h;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// The new content goes to a copy beside the target, which then takes the
// target's place whole.
DWORD ReplaceWithCopy(const std::string& path, std::string_view bytes, DWORD attributes) {
  std::string temp;
  Handle h(CreateTemporary(FolderPrefix(path), attributes, temp));
  if (!h.valid()) return GetLastError();
  DWORD error = WriteAll(h.get(), bytes);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(h.get())) error = GetLastError();
  if (!h.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS && !MoveFileExA(temp.c_str(), path.c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) DeleteFileA(temp.c_str());
  return error;
}

DWORD WriteAndFlush(HANDLE h, std::string_view bytes) {
  if (DWORD error = WriteAll(h, bytes)) return error;
  if (!SetEndOfFile(h) || !FlushFileBuffers(h)) return GetLastError();
  return ERROR_SUCCESS;
}

// A link to nothing yet: the file is made through it, so the link stays.
DWORD CreateThroughLink(const std::string& path, std::string_view bytes) {
  Handle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) return GetLastError();
  DWORD error = WriteAndFlush(h.get(), bytes);
  const std::optional<std::string> made =
      error != ERROR_SUCCESS ? OpenedName(h.get()) : std::nullopt;
  if (!h.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (made) DeleteFileA(made->c_str());
  return error;
}

}  // namespace

DWORD WriteFileSafely(const std::string& path, std::string_view bytes) {
  // Opening follows symbolic links: the handle reaches the file finally named.
  // A file we may not write (read-only, a folder, in use) is refused here,
  // although a move might get past it.
  Handle existing(CreateFileA(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!existing.valid()) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return error;
    if (IsLink(path)) return CreateThroughLink(path, bytes);
    return ReplaceWithCopy(path, bytes, FILE_ATTRIBUTE_NORMAL);
  }
  // Devices and pipes take the bytes as they come; there is nothing to copy.
  if (GetFileType(existing.get()) != FILE_TYPE_DISK) {
    DWORD error = WriteAll(existing.get(), bytes);
    if (!existing.Close() && error == ERROR_SUCCESS) error = GetLastError();
    return error;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(existing.get(), &info)) return GetLastError();
  // A file with other names: replacing it would part this name from them.
  if (info.nNumberOfLinks > 1) {
    DWORD error = WriteAndFlush(existing.get(), bytes);
    if (!existing.Close() && error == ERROR_SUCCESS) error = GetLastError();
    return error;
  }
  std::string target = path;
  if (IsLink(path)) {
    const std::optional<std::string> opened = OpenedName(existing.get());
    if (!opened) return GetLastError();
    target = *opened;
  }
  existing.Close();
  const DWORD kept = info.dwFileAttributes & kKeptAttributes;
  return ReplaceWithCopy(target, bytes, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace basic::platform
