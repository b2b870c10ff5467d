// Files on POSIX: the executable's own path, read-only access to it, and the
// whole-file helpers of the front end.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "errors.h"
#include "platform.h"
#include "posix_fd.h"
#include "posix_safe_write.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowReadError() { throw RuntimeFault(msg::kStreamRead); }

class PosixReadOnlyFile : public ReadOnlyFile {
 public:
  explicit PosixReadOnlyFile(int fd) : fd_(fd) {}
  ~PosixReadOnlyFile() override { ::close(fd_); }
  PosixReadOnlyFile(const PosixReadOnlyFile&) = delete;
  PosixReadOnlyFile& operator=(const PosixReadOnlyFile&) = delete;

  uint64_t Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) ThrowReadError();
    return static_cast<uint64_t>(st.st_size);
  }

  void Seek(uint64_t offset) override {
    if (offset > static_cast<uint64_t>(INT64_MAX) ||
        ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
      ThrowReadError();
    }
  }

  uint64_t Position() override {
    off_t pos = ::lseek(fd_, 0, SEEK_CUR);
    if (pos < 0) ThrowReadError();
    return static_cast<uint64_t>(pos);
  }

  void ReadExact(void* buffer, size_t count) override {
    char* p = static_cast<char*>(buffer);
    while (count > 0) {
      ssize_t n = ::read(fd_, p, count);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ThrowReadError();
      p += n;
      count -= static_cast<size_t>(n);
    }
  }

 private:
  int fd_;
};

std::string SystemError(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

}  // namespace

std::string ExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return {};  // Open then reports the empty path
    if (static_cast<size_t>(n) < path.size()) {
      path.resize(static_cast<size_t>(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw RuntimeFault(msg::kCannotOpenFile + path);
  auto file = std::make_unique<PosixReadOnlyFile>(fd);
  // A directory opens, but has no bytes to give.
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) throw RuntimeFault(msg::kCannotOpenFile + path);
  return file;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& errorText) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    errorText = SystemError("cannot open " + path, errno);
    return std::nullopt;
  }
  Fd closer(fd);
  // A directory opens, but has no bytes to give.
  struct stat st;
  const int statError = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (statError != 0) {
    errorText = SystemError("cannot open " + path, statError);
    return std::nullopt;
  }
  // Read to the end rather than trusting the size: pipes report none.
  std::string bytes;
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      errorText = SystemError("cannot read " + path, errno);
      return std::nullopt;
    }
    if (n == 0) return bytes;
    bytes.append(chunk, static_cast<size_t>(n));
  }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, bool executable,
                    std::string& errorText) {
  if (int error = WriteFileSafely(path, bytes, executable)) {
    errorText = SystemError("Cannot write file " + path, error);
    return false;
  }
  return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace basic::platform
