// Child processes on Win32 (the NT family, Wine included): the environment,
// the program search, and a child started with CreateProcessA whose output
// and input are anonymous pipes. Each child runs in a job object of its own
// that kills what is in it when its last handle closes: with this process,
// so that no child outlives it unseen.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "errors.h"
#include "platform.h"
#include "win32_error_text.h"
#include "win32_handle.h"

namespace basic::platform {

namespace {

constexpr DWORD kPollMs = 1;
constexpr DWORD kKillWaitMs = 5000;
constexpr DWORD kSearchBuffer = 261;  // MAX_PATH and a little; grown on demand

[[noreturn]] void ThrowLastError() {
  const DWORD error = GetLastError();
  if (error == 0) throw RuntimeFault(msg::kWin32Failed);
  // The message has its own layout around the system's text.
  throw RuntimeFault(msg::kWin32ErrorCode + std::to_string(error) + ".\n" + SystemErrorText(error));
}

struct Pipe {
  std::unique_ptr<Handle> read, write;
};

// Both ends inheritable as made; the caller takes inheritance back from the
// end it keeps.
Pipe MakePipe() {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) ThrowLastError();
  return Pipe{std::make_unique<Handle>(readEnd), std::make_unique<Handle>(writeEnd)};
}

void KeepFromChild(const Handle& handle) {
  if (!SetHandleInformation(handle.get(), HANDLE_FLAG_INHERIT, 0)) ThrowLastError();
}

// A job that ends its processes when its last handle closes; nullptr when
// the system has none to give (the child then runs without).
HANDLE MakeKillOnCloseJob() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

// The jobs of children that still ran when their runner let go of them:
// held until this process ends, which then ends those children.
std::vector<HANDLE> keptJobs;

class Win32ChildProcess : public ChildProcess {
 public:
  Win32ChildProcess(HANDLE process, HANDLE job, std::unique_ptr<Handle> output,
                    std::unique_ptr<Handle> input)
      : process_(process), job_(job), output_(std::move(output)), input_(std::move(input)) {}

  ~Win32ChildProcess() override {
    if (job_ == nullptr) return;
    // Closing the job would end what the child left running; that lives on
    // until this process ends, as the child itself would have.
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info,
                                  nullptr) &&
        info.ActiveProcesses == 0)
      CloseHandle(job_);
    else
      keptJobs.push_back(job_);
  }
  Win32ChildProcess(const Win32ChildProcess&) = delete;
  Win32ChildProcess& operator=(const Win32ChildProcess&) = delete;

  void CloseInput() override { input_.reset(); }

  void WriteInput(char c) override {
    // A child that no longer reads has closed its input or ended: what it
    // did not take is not an error of ours, and later characters go nowhere.
    if (!input_) return;
    DWORD written = 0;
    if (!WriteFile(input_->get(), &c, 1, &written, nullptr)) input_.reset();
  }

  int ReadOutput(char* buffer, size_t capacity) override {
    if (!output_) return -1;
    DWORD available = 0;
    if (!PeekNamedPipe(output_->get(), nullptr, 0, nullptr, &available, nullptr)) {
      output_.reset();  // broken: the child closed its output and it is empty
      return -1;
    }
    if (available == 0) {
      // A pipe cannot be waited on; the process can, and its end also ends
      // the wait early.
      WaitForSingleObject(process_.get(), kPollMs);
      return 0;
    }
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(capacity, available));
    if (!ReadFile(output_->get(), buffer, want, &got, nullptr) || got == 0) {
      output_.reset();
      return -1;
    }
    return static_cast<int>(got);
  }

  bool Exited() override { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

  // The child is started without a console, so no console control event
  // can reach it: it is ended at once instead.
  bool SendInterrupt() override { return false; }

  void Kill() override {
    // The whole job, so that nothing it started keeps the pipes open.
    if (job_ == nullptr || !TerminateJobObject(job_, 1)) TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kKillWaitMs);
  }

  uint32_t WaitExitCode(uint32_t timeoutMs) override {
    WaitForSingleObject(process_.get(), timeoutMs);
    DWORD code;
    if (!GetExitCodeProcess(process_.get(), &code)) ThrowLastError();
    return code;
  }

 private:
  Handle process_;
  HANDLE job_;                              // owned; nullptr when the child runs without one
  std::unique_ptr<Handle> output_, input_;  // this side's ends; null once closed
};

struct EnvironmentStrings {
  void operator()(char* block) const { FreeEnvironmentStringsA(block); }
};

}  // namespace

std::vector<std::string> ReadEnvironment() {
  std::vector<std::string> entries;
  std::unique_ptr<char, EnvironmentStrings> block(GetEnvironmentStringsA());
  if (!block) return entries;
  for (const char* entry = block.get(); *entry != '\0'; entry += entries.back().size() + 1)
    entries.emplace_back(entry);
  return entries;
}

std::optional<std::string> FindProgram(const std::string& name) {
  std::string path(kSearchBuffer, '\0');
  for (;;) {
    const DWORD n = SearchPathA(nullptr, name.c_str(), ".EXE", static_cast<DWORD>(path.size()),
                                path.data(), nullptr);
    if (n == 0) return std::nullopt;
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(n);  // too small: n is the size it needs
  }
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const ChildCommand& command) {
  Pipe output = MakePipe();
  Pipe input = MakePipe();
  KeepFromChild(*output.read);
  KeepFromChild(*input.write);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = output.write->get();
  startup.hStdInput = input.read->get();
  startup.hStdError = nullptr;  // the child's error output goes nowhere

  // CreateProcessA may write into the command line.
  std::vector<char> commandLine(command.commandLine.begin(), command.commandLine.end());
  commandLine.push_back('\0');
  std::string environment = command.environmentBlock;
  if (!environment.empty()) environment.append(2, '\0');

  // Suspended until it is in its job, so that nothing it starts escapes.
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW | DETACHED_PROCESS | CREATE_SUSPENDED,
                      environment.empty() ? nullptr : environment.data(), nullptr, &startup,
                      &started)) {
    ThrowLastError();
  }
  HANDLE job = MakeKillOnCloseJob();
  if (job != nullptr && !AssignProcessToJobObject(job, started.hProcess)) {
    CloseHandle(job);  // a system that refuses nested jobs: no job, as before
    job = nullptr;
  }
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  // Only the child may hold its ends now: its output must break once it has
  // closed it, and its input must end when we close ours.
  output.write.reset();
  input.read.reset();
  return std::make_unique<Win32ChildProcess>(started.hProcess, job, std::move(output.read),
                                             std::move(input.write));
}

void ConvertChildOutput(char* bytes, size_t count) {
  if (count > 0) OemToCharBuffA(bytes, bytes, static_cast<DWORD>(count));
}

}  // namespace basic::platform
