#include "front_end.h"

#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "appended_program.h"
#include "errors.h"
#include "platform.h"
#include "program_store.h"

namespace basic::app {

namespace {

#ifndef BASIC_VERSION
#define BASIC_VERSION "unknown"
#endif
// Where an installation puts the stub, relative to the front end's directory.
#ifndef BASIC_STUB_INSTALL_DIR
#define BASIC_STUB_INSTALL_DIR ""
#endif

#ifdef _WIN32
constexpr const char* kStubName = "basstub.exe";
constexpr std::string_view kPathSeparators = "\\/:";
#else
constexpr const char* kStubName = "basstub";
constexpr std::string_view kPathSeparators = "/";
#endif

FrontEndCommand UsageError(std::string text) {
  FrontEndCommand command;
  command.kind = FrontEndCommand::Kind::kUsageError;
  command.error = "basic: " + std::move(text) + " (see basic --help)";
  return command;
}

}  // namespace

const char* const kFrontEndHelp =
    "Usage:\n"
    "  basic FILE.bas                   run a BASIC program file\n"
    "  basic                            interactive console: READY, then type lines\n"
    "  basic --bind FILE.bas -o OUT [--stub STUB]\n"
    "                                   make OUT, a standalone executable that runs\n"
    "                                   FILE.bas: a copy of the stub (found beside\n"
    "                                   basic or where it is installed, or STUB)\n"
    "                                   with the program appended\n"
    "  basic --version                  the version of basic\n"
    "  basic --help                     this text\n"
    "\n"
    "A program file runs exactly as the bound executable would run it: its lines\n"
    "are handled in order (numbered lines are stored, others run at once), then\n"
    "RUN starts the stored program. Lines may end in LF or CR LF. A first line\n"
    "starting with #! is skipped, so a program file can be a script.\n"
    "Ctrl-C stops a running program at its next statement (\"Break\").\n"
    "Exit codes: 0 done, 1 standard output cannot be written, memory ran out or\n"
    "(on Linux) a library function faulted (\"Access violation\"),\n"
    "2 bad usage or a file that cannot be read or written.\n";

FrontEndCommand ParseArguments(const std::vector<std::string>& args) {
  FrontEndCommand command;
  std::optional<std::string> bind, output, stub, file;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      command.kind = FrontEndCommand::Kind::kHelp;
      return command;
    }
    if (arg == "--version") {
      command.kind = FrontEndCommand::Kind::kVersion;
      return command;
    }
    std::optional<std::string>* slot = nullptr;
    if (arg == "--bind") slot = &bind;
    if (arg == "-o") slot = &output;
    if (arg == "--stub") slot = &stub;
    if (slot != nullptr) {
      if (i + 1 >= args.size()) return UsageError(arg + " needs a file name");
      if (slot->has_value()) return UsageError(arg + " given twice");
      *slot = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else if (file) {
      return UsageError("one program file at a time");
    } else {
      file = arg;
    }
  }
  if (bind) {
    if (file) return UsageError("--bind takes one program file");
    if (!output) return UsageError("--bind needs -o OUT");
    command.kind = FrontEndCommand::Kind::kBind;
    command.programPath = *bind;
    command.outputPath = *output;
    command.stubPath = stub.value_or("");
    return command;
  }
  if (output || stub) return UsageError("-o and --stub go with --bind");
  if (file) {
    command.kind = FrontEndCommand::Kind::kRunFile;
    command.programPath = *file;
  }
  return command;
}

std::string ToCrLfLineEnds(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
    result += text[i];
  }
  return result;
}

std::string VersionText() { return std::string("basic ") + BASIC_VERSION + "\n"; }

std::string_view WithoutScriptLine(std::string_view text) {
  if (!text.starts_with("#!")) return text;
  const size_t end = text.find('\n');
  return end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
}

std::string_view ProgramTextOf(std::string_view file) {
  return WithoutScriptLine(WithoutByteOrderMark(file));
}

bool HasNulOutsideStrings(std::string_view text) {
  if (text.find('\0') == std::string_view::npos) return false;
  bool inString = false;
  for (const char c : text) {
    if (c == '"') {
      inString = !inString;
    } else if (c == '\r' || c == '\n') {
      inString = false;  // a literal never reaches past its line
    } else if (c == '\0' && !inString) {
      return true;
    }
  }
  return false;
}

std::string StubPathBeside(const std::string& frontEndPath) {
  size_t cut = frontEndPath.find_last_of(kPathSeparators);
  if (cut == std::string::npos) return kStubName;
  return frontEndPath.substr(0, cut + 1) + kStubName;
}

std::vector<std::string> StubSearchPaths(const std::string& frontEndPath) {
  std::vector<std::string> paths{StubPathBeside(frontEndPath)};
  const std::string_view installDir = BASIC_STUB_INSTALL_DIR;
  if (!installDir.empty() && installDir != ".") {
    const size_t cut = frontEndPath.find_last_of(kPathSeparators);
    const std::string dir = cut == std::string::npos ? "" : frontEndPath.substr(0, cut + 1);
    paths.push_back(dir + std::string(installDir) + "/" + kStubName);
  }
  return paths;
}

std::string BindProgram(std::string_view stub, std::string_view program) {
  std::optional<ImageFormat> format = DetectImageFormat(stub);
  if (!format) throw ERuntime("not an executable image");
  MemoryFile image(stub);
  std::optional<uint64_t> end = FindAppendedStart(image, *format);
  // Without an end inside the file the stub could never find the program.
  if (!end || *end > stub.size()) throw ERuntime("not a stub: the image has no end to append at");
  std::string bound(stub.substr(0, static_cast<size_t>(*end)));
  bound += ToCrLfLineEnds(program);
  return bound;
}

namespace {

// Followed by the file's name.
constexpr const char* kNotProgramText = "basic: not a BASIC program text: ";

int Dispatch(const FrontEndCommand& command, const std::string& selfPath,
             const ConsoleStreams& streams, const ErrorLineWriter& reportError) {
  std::string error;
  switch (command.kind) {
    case FrontEndCommand::Kind::kUsageError:
      reportError(command.error);
      return kExitUsage;
    case FrontEndCommand::Kind::kHelp: {
#ifdef _WIN32
      std::string help = ToCrLfLineEnds(kFrontEndHelp);
#else
      std::string help = kFrontEndHelp;
#endif
      streams.out.WriteBytes(help.data(), help.size());
      return kExitOk;
    }
    case FrontEndCommand::Kind::kVersion: {
#ifdef _WIN32
      const std::string version = ToCrLfLineEnds(VersionText());
#else
      const std::string version = VersionText();
#endif
      streams.out.WriteBytes(version.data(), version.size());
      return kExitOk;
    }
    case FrontEndCommand::Kind::kConsole:
      RunConsoleLoop(streams);
      return kExitOk;
    case FrontEndCommand::Kind::kRunFile: {
      std::optional<std::string> text = platform::ReadWholeFile(command.programPath, error);
      if (!text) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      const std::string_view file = ProgramTextOf(*text);
      if (HasNulOutsideStrings(file)) {
        reportError(std::string(kNotProgramText) + command.programPath);
        return kExitUsage;
      }
      std::string program = ToCrLfLineEnds(file);
      text.reset();  // the file's bytes are not needed while it runs
      return RunProgramText(std::move(program), streams) == 0 ? kExitOk : kExitFailure;
    }
    case FrontEndCommand::Kind::kBind: {
      // The output would replace the program it is made from; compared by the
      // file reached, so "./p.bas" or a link to it counts as well.
      if (platform::IsSameFile(command.programPath, command.outputPath)) {
        reportError(UsageError("-o " + command.outputPath + " is the program file itself").error);
        return kExitUsage;
      }
      std::string stubPath = command.stubPath;
      std::optional<std::string> stub;
      if (stubPath.empty()) {
        // The first stub found; when there is none, the report names the
        // first place looked at.
        std::string firstError;
        for (const std::string& candidate : StubSearchPaths(selfPath)) {
          stub = platform::ReadWholeFile(candidate, error);
          if (firstError.empty()) firstError = error;
          if (stub) {
            stubPath = candidate;
            break;
          }
        }
        if (!stub) error = firstError;
      } else {
        stub = platform::ReadWholeFile(stubPath, error);
      }
      std::optional<std::string> program;
      if (stub) program = platform::ReadWholeFile(command.programPath, error);
      if (!stub || !program) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      const std::string_view file = ProgramTextOf(*program);
      if (HasNulOutsideStrings(file)) {
        reportError(std::string(kNotProgramText) + command.programPath);
        return kExitUsage;
      }
      std::string bound;
      try {
        bound = BindProgram(*stub, file);
      } catch (const ERuntime& e) {
        reportError("basic: " + stubPath + ": " + e.what());
        return kExitUsage;
      }
      if (!platform::WriteWholeFile(command.outputPath, bound, true, error)) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      return kExitOk;
    }
  }
  return kExitUsage;
}

}  // namespace

int RunFrontEnd(const std::vector<std::string>& args, const std::string& selfPath,
                const ConsoleStreams& streams, const ErrorLineWriter& reportError) {
  try {
    return Dispatch(ParseArguments(args), selfPath, streams, reportError);
  } catch (const OutputFailure& e) {
    reportError(std::string(kOutputFailurePrefix) + e.what());
    return kExitFailure;
  } catch (const std::bad_alloc&) {
    reportError(std::string("basic: ") + msg::kOutOfMemory);
    return kExitFailure;
  } catch (const std::exception& e) {
    reportError(std::string("basic: ") + e.what());
    return kExitFailure;
  }
}

}  // namespace basic::app
