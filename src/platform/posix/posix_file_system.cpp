// Program files on POSIX: whole-file reads, and the safe whole-file writes.
// errno is mapped onto the classic file-error codes, so messages read as on
// the Windows target. Opening a FIFO or reading from one can wait for ever;
// Ctrl-C ends that wait with "Break".
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "errors.h"
#include "platform.h"
#include "posix_console_input.h"
#include "posix_fd.h"
#include "posix_safe_write.h"

namespace basic::platform {

namespace {

[[noreturn]] void ThrowFileError(int error) {
  switch (error) {
    case ENOENT: throw RuntimeFault(FileErrorMessage(2));
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: throw RuntimeFault(FileErrorMessage(3));
    case EMFILE:
    case ENFILE: throw RuntimeFault(FileErrorMessage(4));
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: throw RuntimeFault(FileErrorMessage(5));
    case ENOSPC:
    case EDQUOT: throw RuntimeFault(FileErrorMessage(101));
    default:
      // Not FileErrorMessage: errno values overlap the classic codes.
      throw RuntimeFault("I/O error " + std::to_string(error));
  }
}

// open(2) that a signal without a pending Ctrl-C does not end.
int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  for (;;) {
    const int fd = ::open(path, flags, mode);
    if (fd >= 0 || errno != EINTR) return fd;
    BreakIfInterrupted();
  }
}

class PosixFileSystem : public FileSystem {
 public:
  std::string ReadFile(const std::string& name) override {
    Fd fd(OpenRetrying(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) ThrowFileError(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) ThrowFileError(errno);
    if (S_ISDIR(st.st_mode)) ThrowFileError(EISDIR);
    std::string bytes;
    char chunk[65536];
    for (;;) {
      const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) {
        BreakIfInterrupted();
        continue;
      }
      if (n < 0) ThrowFileError(errno);
      if (n == 0) return bytes;
      bytes.append(chunk, static_cast<size_t>(n));
    }
  }

  void WriteFile(const std::string& name, std::string_view bytes) override {
    if (int error = WriteFileSafely(name, bytes, false)) {
      if (error == EINTR) BreakIfInterrupted();
      ThrowFileError(error);
    }
  }
};

}  // namespace

FileSystem& ProgramFiles() {
  static PosixFileSystem files;
  return files;
}

}  // namespace basic::platform
