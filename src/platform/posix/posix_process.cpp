// Child processes on POSIX: the environment, the program search, and a child
// whose output and input are pipes. Each child leads a process group of its
// own, so that Ctrl-C reaches it (and what it started) only through us, and
// on Linux it dies with this process instead of running on unseen.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "errors.h"
#include "platform.h"
#include "posix_fd.h"

extern char** environ;

namespace basic::platform {

namespace {

constexpr uint32_t kStillActive = 259;  // what Windows reports for a running child
constexpr int kPollMs = 1;

[[noreturn]] void ThrowSystemError(int error) {
  throw RuntimeFault(msg::kSystemErrorCode + std::to_string(error) + ".\n" + std::strerror(error));
}

// Above the standard descriptors: should this process run with one of them
// closed, a pipe end landing on 0 or 1 would be overwritten (or keep its
// close-on-exec flag) when the child's descriptors are set up.
std::unique_ptr<Fd> AboveStandard(std::unique_ptr<Fd> fd) {
  if (fd->get() > 2) return fd;
  const int moved = ::fcntl(fd->get(), F_DUPFD_CLOEXEC, 3);
  if (moved < 0) ThrowSystemError(errno);
  return std::make_unique<Fd>(moved);
}

struct Pipe {
  std::unique_ptr<Fd> read, write;
};

// The analyzer loses the owners of a returned aggregate of unique_ptrs.
// NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
Pipe MakePipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) ThrowSystemError(errno);
  auto read = std::make_unique<Fd>(fds[0]);
  auto write = std::make_unique<Fd>(fds[1]);
  return Pipe{AboveStandard(std::move(read)), AboveStandard(std::move(write))};
}
// NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)

// waitpid without waiting: the pid once it has ended (status set), 0 while
// it runs, -1 on failure.
pid_t WaitNoHang(pid_t pid, int& status) {
  pid_t r;
  do r = ::waitpid(pid, &status, WNOHANG);
  while (r < 0 && errno == EINTR);
  return r;
}

// Children that still ran when their runner let go of them; reaped whenever
// another child starts or ends, so that none stays a zombie for long.
std::vector<pid_t> abandoned;

void ReapAbandoned() {
  int status;
  std::erase_if(abandoned, [&](pid_t pid) { return WaitNoHang(pid, status) != 0; });
}

// Blocks SIGPIPE while a write to a pipe whose reader may be gone is made,
// and takes back a SIGPIPE that the write raised, so that it never reaches
// this process's handler (by default: the end of the interpreter).
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipeOnly_);
    sigaddset(&pipeOnly_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly_, &saved_);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigpipeGuard() {
    if (raised_ && !wasPending_) {
      const timespec zero{};
      while (sigtimedwait(&pipeOnly_, nullptr, &zero) < 0 && errno == EINTR) {}
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;
  void Raised() { raised_ = true; }

 private:
  sigset_t pipeOnly_, saved_;
  bool wasPending_ = false, raised_ = false;
};

// The entries of an environment block, each followed by one NUL.
std::vector<std::string> BlockEntries(const std::string& block) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < block.size()) {
    size_t end = block.find('\0', start);
    if (end == std::string::npos) end = block.size();
    if (end > start) entries.push_back(block.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

class PosixChildProcess : public ChildProcess {
 public:
  PosixChildProcess(pid_t pid, std::unique_ptr<Fd> output, std::unique_ptr<Fd> input)
      : pid_(pid), output_(std::move(output)), input_(std::move(input)) {}

  ~PosixChildProcess() override {
    int status;
    if (!reaped_ && WaitNoHang(pid_, status) == 0) abandoned.push_back(pid_);
  }
  PosixChildProcess(const PosixChildProcess&) = delete;
  PosixChildProcess& operator=(const PosixChildProcess&) = delete;

  void CloseInput() override { input_.reset(); }

  void WriteInput(char c) override {
    // A child that no longer reads has closed its input or ended: what it
    // did not take is not an error of ours, and later characters go nowhere.
    if (!input_) return;
    SigpipeGuard guard;
    ssize_t n;
    do n = ::write(input_->get(), &c, 1);
    while (n < 0 && errno == EINTR);
    if (n < 0) {
      if (errno == EPIPE) guard.Raised();
      input_.reset();
    }
  }

  int ReadOutput(char* buffer, size_t capacity) override {
    if (!output_) return -1;
    pollfd watch{output_->get(), POLLIN, 0};
    const int ready = ::poll(&watch, 1, kPollMs);
    if (ready < 0 && errno != EINTR) ThrowSystemError(errno);
    if (ready <= 0) return 0;
    const ssize_t n = ::read(output_->get(), buffer, capacity);
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return 0;
    output_.reset();
    return -1;
  }

  bool SendInterrupt() override {
    if (reaped_) return false;
    return ::kill(-pid_, SIGINT) == 0;
  }

  void Kill() override {
    // The whole group, so that nothing it started keeps the pipes open.
    ::kill(-pid_, SIGKILL);
    if (reaped_) return;
    int status;
    pid_t r;
    do r = ::waitpid(pid_, &status, 0);
    while (r < 0 && errno == EINTR);
    reaped_ = true;
    exitCode_ = 128 + SIGKILL;
  }

  bool Exited() override {
    if (reaped_) return true;
    int status;
    const pid_t r = WaitNoHang(pid_, status);
    if (r < 0) ThrowSystemError(errno);
    if (r == 0) return false;
    reaped_ = true;
    exitCode_ = WIFSIGNALED(status) ? 128 + static_cast<uint32_t>(WTERMSIG(status))
                                    : static_cast<uint32_t>(WEXITSTATUS(status));
    return true;
  }

  uint32_t WaitExitCode(uint32_t timeoutMs) override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!Exited()) {
      if (std::chrono::steady_clock::now() >= deadline) return kStillActive;
      const timespec pause{0, kPollMs * 1000000L};
      ::nanosleep(&pause, nullptr);
    }
    ReapAbandoned();
    return exitCode_;
  }

 private:
  pid_t pid_;
  std::unique_ptr<Fd> output_, input_;  // this side's ends; null once closed
  bool reaped_ = false;
  uint32_t exitCode_ = 0;
};

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<std::string> ReadEnvironment() {
  std::vector<std::string> entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
    entries.emplace_back(*entry);
  return entries;
}

std::optional<std::string> FindProgram(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) {
    struct stat st;
    if (::stat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return name;
    return std::nullopt;
  }
  // The search of execvp: PATH's directories in order, an empty one meaning
  // the working directory, the system's default list when PATH is not set.
  std::string path;
  if (const char* value = ::getenv("PATH")) {
    path = value;
  } else {
    path.resize(::confstr(_CS_PATH, nullptr, 0));
    if (!path.empty()) {
      ::confstr(_CS_PATH, path.data(), path.size());
      path.pop_back();  // the NUL confstr counts
    }
  }
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(path.find(':', start), path.size());
    const std::string dir = path.substr(start, end - start);
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (end == path.size()) return std::nullopt;
    start = end + 1;
  }
}

namespace {

// Runs in the forked child, where only async-signal-safe calls may be made.
[[noreturn]] void ExecChild(const ChildCommand& command, char* const* argv, char* const* envp,
                            int input, int output, int discard, int report, pid_t parent) {
  ::setpgid(0, 0);
#ifdef __linux__
  // Killed with this process; the parent may already have gone before the
  // request was made, leaving the child to init.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);
#else
  (void)parent;
#endif
  int error = 0;
  if (::dup2(input, STDIN_FILENO) < 0 || ::dup2(output, STDOUT_FILENO) < 0 ||
      ::dup2(discard, STDERR_FILENO) < 0) {
    error = errno;
  } else {
    ::execve(command.file.c_str(), argv, envp);
    error = errno;
  }
  // The report pipe closes on a successful exec; a failure sends its errno.
  while (::write(report, &error, sizeof error) < 0 && errno == EINTR) {}
  ::_exit(127);
}

// The errno the child sent before it ended, or 0 once its exec succeeded.
int ReadStartError(int report) {
  int error = 0;
  ssize_t n;
  do n = ::read(report, &error, sizeof error);
  while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const ChildCommand& command) {
  ReapAbandoned();
  // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks): as in MakePipe
  Pipe output = MakePipe();
  Pipe input = MakePipe();
  Pipe report = MakePipe();
  // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
  const int discard = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (discard < 0) ThrowSystemError(errno);
  Fd discardCloser(discard);

  std::vector<std::string> arguments = command.arguments;
  std::vector<std::string> environment = BlockEntries(command.environmentBlock);
  std::vector<char*> argv = PointersTo(arguments);
  std::vector<char*> envp = PointersTo(environment);

  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) ThrowSystemError(errno);
  if (pid == 0) {
    ExecChild(command, argv.data(), environment.empty() ? environ : envp.data(), input.read->get(),
              output.write->get(), discard, report.write->get(), parent);
  }
  // Also here, so that the group exists before we might signal it.
  ::setpgid(pid, pid);
  report.write.reset();
  if (const int error = ReadStartError(report.read->get())) {
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    ThrowSystemError(error);
  }
  // Only the child may hold its ends now: its output must read as closed
  // once it has closed it, and its input must end when we close ours.
  output.write.reset();
  input.read.reset();
  return std::make_unique<PosixChildProcess>(pid, std::move(output.read), std::move(input.write));
}

void ConvertChildOutput(char* /*bytes*/, size_t /*count*/) {}

}  // namespace basic::platform
