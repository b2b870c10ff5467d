// Whole-file writes on POSIX that keep what the target name stands for.
#include "posix_safe_write.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "posix_console_input.h"
#include "posix_fd.h"
#include "temporary_name.h"

namespace basic::platform {

namespace {

// As the kernel's own limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;

// The folder part of path with its final "/", or "" for a bare name.
std::string FolderPrefix(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links until path names something else, or nothing. A
// relative link is read from the folder that holds it. 0 or errno.
int FollowLinks(std::string& path) {
  for (int hops = 0;; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) return 0;
    if (hops == kMaxLinkHops) return ELOOP;
    std::string target(st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : 256, '\0');
    for (;;) {
      const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
      if (n < 0) return errno;
      if (static_cast<size_t>(n) < target.size()) {
        target.resize(static_cast<size_t>(n));
        break;
      }
      target.resize(target.size() * 2);  // the link grew since lstat
    }
    if (target.empty()) return ENOENT;
    if (target.front() != '/') target.insert(0, FolderPrefix(path));
    path = std::move(target);
  }
}

// EINTR when Ctrl-C cut a write short: a FIFO whose reader stopped reading
// would otherwise hold the interpreter for ever. A signal that comes after
// part of the bytes went shows only as a short count.
int WriteAll(int fd, std::string_view bytes) {
  for (const char *p = bytes.data(), *end = p + bytes.size(); p < end;) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(end - p));
    if (n < 0 && errno == EINTR) {
      if (InterruptPending()) return EINTR;
      continue;
    }
    if (n <= 0) return n < 0 ? errno : EIO;
    p += n;
    if (p < end && InterruptPending()) return EINTR;
  }
  return 0;
}

// A new file in folderPrefix under a name nobody could know beforehand,
// created exclusively: nothing planted there can receive the bytes.
int CreateTemporary(const std::string& folderPrefix, mode_t mode, std::string& name, int& fd) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = RandomTemporaryName(folderPrefix);
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) return 0;
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

void KeepOwner(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) == 0) return;
  // Only root may give a file away: the copy stays ours, as a new file would.
}

// The new content goes to a copy beside the target, which then takes the
// target's place whole. old: the file replaced (nullptr when none), whose
// owner the copy takes where allowed.
int ReplaceWithCopy(const std::string& path, std::string_view bytes, const struct stat* old,
                    mode_t mode, bool setMode) {
  const std::string folder = FolderPrefix(path);
  std::string temp;
  int rawFd = -1;
  // Private until its mode is set, when that mode is not the umask's.
  if (int error = CreateTemporary(folder, setMode ? 0600 : mode, temp, rawFd)) return error;
  Fd fd(rawFd);
  int error = WriteAll(fd.get(), bytes);
  if (error == 0 && old != nullptr) KeepOwner(fd.get(), *old);
  if (error == 0 && setMode && ::fchmod(fd.get(), mode) != 0) error = errno;
  if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
  if (!fd.Close() && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return error;
  }
  // The rename itself reaches the disk with its folder.
  Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return 0;
}

// A file with other names: replacing it would part this name from them.
int RewriteInPlace(int fd, std::string_view bytes, mode_t mode, mode_t oldMode) {
  if (mode != oldMode && ::fchmod(fd, mode) != 0) return errno;
  if (int error = WriteAll(fd, bytes)) return error;
  if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return errno;
  if (::fsync(fd) != 0) return errno;
  return 0;
}

// Devices, FIFOs and sockets take the bytes as they come; there is nothing
// to keep a copy of, and replacing the node would take it away.
int WriteToNode(const std::string& path, std::string_view bytes) {
  // Opened without waiting: a FIFO nobody reads is refused (ENXIO) instead of
  // holding the interpreter until a reader comes. The writes may wait.
  Fd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
  if (int error = WriteAll(fd.get(), bytes)) return error;
  return fd.Close() ? 0 : errno;
}

}  // namespace

int WriteFileSafely(const std::string& name, std::string_view bytes, bool executable) {
  std::string path = name;
  if (int error = FollowLinks(path)) return error;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return errno;
    // fchmod: the umask must not take the run bits away.
    return ReplaceWithCopy(path, bytes, nullptr, executable ? 0755 : 0666, executable);
  }
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return WriteToNode(path, bytes);

  const mode_t oldMode = st.st_mode & 07777;
  const mode_t mode = executable ? oldMode | ((oldMode & 0444) >> 2) : oldMode;
  // A file we may not write is refused, although a rename would get past it.
  // A running program (ETXTBSY) is left to run from the file it has.
  Fd existing(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (existing.get() < 0 && errno != ETXTBSY) return errno;
  if (st.st_nlink > 1) {
    if (existing.get() < 0) return ETXTBSY;
    struct stat opened;
    if (::fstat(existing.get(), &opened) != 0) return errno;
    // Swapped for another file since the look: touch neither.
    if (opened.st_dev != st.st_dev || opened.st_ino != st.st_ino) return EAGAIN;
    if (int error = RewriteInPlace(existing.get(), bytes, mode, oldMode)) return error;
    return existing.Close() ? 0 : errno;
  }
  return ReplaceWithCopy(path, bytes, &st, mode, true);
}

}  // namespace basic::platform
