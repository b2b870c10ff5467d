#include "front_end.h"

#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "appended_program.h"
#include "errors.h"
#include "line_profiler.h"
#include "platform.h"
#include "profile_page.h"
#include "program_store.h"
#include "statement_tracer.h"
#include "stub_marker.h"

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
    "  basic FILE.bas                   run a BASIC program file (- reads it from\n"
    "                                   standard input)\n"
    "  basic                            interactive console: READY, then type lines\n"
    "  basic --bind FILE.bas -o OUT [--stub STUB]\n"
    "                                   make OUT, a standalone executable that runs\n"
    "                                   FILE.bas: a copy of the stub (found beside\n"
    "                                   basic or where it is installed, or STUB)\n"
    "                                   with the program appended\n"
    "  basic --trace [FILE.bas]         run it (or the console), writing [N] on\n"
    "                                   standard error as each line N starts\n"
    "  basic --trace=jumps [FILE.bas]   the same, writing [FROM->TO] for each\n"
    "                                   GOTO, GOSUB, RETURN, ON, IF THEN N, RUN\n"
    "                                   and each NEXT or WEND that loops back\n"
    "                                   (an immediate line has no number: [->10])\n"
    "  basic --profile [FILE.bas]       run it, then report on standard error the\n"
    "                                   lines that took the most time, e.g.\n"
    "                                   basic --profile examples/primes.bas\n"
    "  basic --profile=PAGE.html [FILE.bas]\n"
    "                                   the same, written instead as an HTML page\n"
    "                                   of the whole listing, each line shaded by\n"
    "                                   its share of the time\n"
    "  basic --version                  the version of basic\n"
    "  basic --help                     this text\n"
    "\n"
    "Options: --bind=FILE, --output=OUT (or -o OUT) and --stub=STUB are the same\n"
    "as the forms above; -- ends the options, so a file named -x.bas can follow.\n"
    "STUB must be a basic run-time stub (basstub or basstub.exe).\n"
    "\n"
    "A program file runs exactly as the bound executable would run it: its lines\n"
    "are handled in order (numbered lines are stored, others run at once), then\n"
    "RUN starts the stored program. Lines may end in LF or CR LF. A first line\n"
    "starting with #! is skipped, so a program file can be a script.\n"
    "Ctrl-C stops a running program at its next statement (\"Break\").\n"
    "\n"
    "Exit status: basic FILE.bas and a bound program end with 1 when an error\n"
    "report was written during the run (STOP's and Ctrl-C's Break aside), 0\n"
    "otherwise; the console ends with 0 at BYE or the end of its input; 2\n"
    "means bad usage, a file that cannot be read or written, or one that is\n"
    "not program text; 1 also when standard output cannot be written or\n"
    "memory ran out.\n";

namespace {

// A program file, or "-" for standard input; every other word that starts
// with "-" is an option.
bool IsOperand(const std::string& arg) { return arg == "-" || !arg.starts_with("-"); }

}  // namespace

struct WatchAsked {
  FrontEndCommand::Watch watch;
  std::string page;  // --profile=PAGE
  bool operator==(const WatchAsked&) const = default;
};

// --trace, --trace=jumps, --profile, --profile=PAGE: the tool asked for, or
// nullopt when arg is none of them.
std::optional<WatchAsked> WatchOption(const std::string& arg) {
  using Watch = FrontEndCommand::Watch;
  if (arg == "--trace") return WatchAsked{Watch::kTrace, ""};
  if (arg == "--trace=jumps") return WatchAsked{Watch::kTraceJumps, ""};
  if (arg == "--profile") return WatchAsked{Watch::kProfile, ""};
  if (arg.starts_with("--profile=")) return WatchAsked{Watch::kProfile, arg.substr(10)};
  return std::nullopt;
}

FrontEndCommand ParseArguments(const std::vector<std::string>& args) {
  FrontEndCommand command;
  std::optional<std::string> bind, output, stub, file;
  WatchAsked watch{FrontEndCommand::Watch::kNone, ""};
  bool binding = false, optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || IsOperand(arg)) {
      if (file) return UsageError("one program file at a time");
      file = arg;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      command.kind = FrontEndCommand::Kind::kHelp;
      return command;
    }
    if (arg == "--version") {
      command.kind = FrontEndCommand::Kind::kVersion;
      return command;
    }
    if (const std::optional<WatchAsked> asked = WatchOption(arg)) {
      if (asked->watch == FrontEndCommand::Watch::kProfile && arg.ends_with('=') &&
          asked->page.empty())
        return UsageError("--profile= needs a file name");
      if (watch.watch != FrontEndCommand::Watch::kNone && watch != *asked)
        return UsageError("--trace, --trace=jumps and --profile go one at a time");
      watch = *asked;
      continue;
    }
    if (arg.starts_with("--trace=")) return UsageError("--trace= takes only jumps");
    // --name=VALUE is --name VALUE.
    const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = arg.substr(equals + 1);
    std::optional<std::string>* slot = nullptr;
    if (name == "--bind") slot = &bind;
    if (name == "-o" || name == "--output") slot = &output;
    if (name == "--stub") slot = &stub;
    if (slot == nullptr) return UsageError("unknown option " + arg);
    if (name == "--bind") {
      if (binding) return UsageError("--bind given twice");
      binding = true;
      // The program may also come as the file argument, after "--" say.
      if (!value && i + 1 < args.size() && IsOperand(args[i + 1])) value = args[++i];
      if (!value) continue;
    } else if (!value) {
      if (i + 1 >= args.size()) return UsageError(name + " needs a file name");
      value = args[++i];
    }
    if (value->empty()) return UsageError(name + " needs a file name");
    if (slot->has_value()) return UsageError(name + " given twice");
    *slot = *value;
  }
  if (binding && watch.watch != FrontEndCommand::Watch::kNone)
    return UsageError("--trace and --profile watch a run, not --bind");
  if (binding) {
    if (bind && file) return UsageError("--bind takes one program file");
    if (!bind && !file) return UsageError("--bind needs a program file (- for standard input)");
    if (!output) return UsageError("--bind needs -o OUT");
    command.kind = FrontEndCommand::Kind::kBind;
    command.programPath = bind ? *bind : *file;
    command.outputPath = *output;
    command.stubPath = stub.value_or("");
    return command;
  }
  if (output || stub) return UsageError("-o and --stub go with --bind");
  command.watch = watch.watch;
  command.profilePage = watch.page;
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
  if (!format) throw RuntimeFault("not an executable image");
  MemoryFile image(stub);
  std::optional<uint64_t> end = FindAppendedStart(image, *format);
  // Without an end inside the file the stub could never find the program.
  if (!end || *end > stub.size())
    throw RuntimeFault("not a stub: the image has no end to append at");
  std::string bound(stub.substr(0, static_cast<size_t>(*end)));
  bound += ToCrLfLineEnds(program);
  return bound;
}

namespace {

// A program file's text; "-" reads standard input to its end.
std::optional<std::string> ReadProgram(const std::string& path, ByteSource& in,
                                       std::string& error) {
  if (path != "-") return platform::ReadWholeFile(path, error);
  std::string text;
  char chunk[65536];
  while (size_t n = in.ReadBytes(chunk, sizeof chunk)) text.append(chunk, n);
  return text;
}

// "A", "A or B", "A, B or C".
std::string ListOfPlaces(const std::vector<std::string>& places) {
  std::string list;
  for (size_t i = 0; i < places.size(); ++i) {
    if (i > 0) list += i + 1 == places.size() ? " or " : ", ";
    list += places[i];
  }
  return list;
}
// Followed by the file's name.
constexpr const char* kNotProgramText = "basic: not a BASIC program text: ";

// Running and binding refuse the same files: a NUL byte outside strings
// means the file is no program text.
bool IsProgramText(std::string_view file, const std::string& path,
                   const ErrorLineWriter& reportError) {
  if (!HasNulOutsideStrings(file)) return true;
  reportError(std::string(kNotProgramText) + path);
  return false;
}

// Help and version go out in the line ends of the platform's console.
void WriteText(ByteSink& out, std::string_view text) {
#ifdef _WIN32
  const std::string lines = ToCrLfLineEnds(text);
#else
  const std::string_view lines = text;
#endif
  out.WriteBytes(lines.data(), lines.size());
}

// The tool that --trace or --profile asked for, for one run; the profile is
// reported when the run has ended, however it ended.
class RunWatch {
 public:
  RunWatch(const FrontEndCommand& command, const ConsoleStreams& streams)
      : lineEnd_(streams.options.lineEnd), page_(command.profilePage) {
    using Watch = FrontEndCommand::Watch;
    const Watch watch = command.watch;
    if (command.kind == FrontEndCommand::Kind::kRunFile)
      title_ = command.programPath == "-" ? "standard input" : command.programPath;
    else
      title_ = "the console";
    if (watch == Watch::kTrace || watch == Watch::kTraceJumps) {
      const auto mode = watch == Watch::kTrace ? devtools::StatementTracer::Mode::kLines
                                               : devtools::StatementTracer::Mode::kJumps;
      tracer_.emplace(platform::StandardError(), lineEnd_, mode, streams.options.flushEachItem);
    }
    if (watch == Watch::kProfile) profiler_.emplace(!page_.empty());
  }

  StatementObserver* observer() {
    if (tracer_) return &*tracer_;
    if (profiler_) return &*profiler_;
    return nullptr;
  }

  // False when the page could not be written; errorText says why.
  bool RunEnded(std::string& errorText) {
    if (!profiler_) return true;
    if (!page_.empty()) {
      const std::string page = devtools::ProfilePage(profiler_->Summary(), title_, lineEnd_);
      return platform::WriteWholeFile(page_, page, false, errorText);
    }
    const std::string report = profiler_->Report(lineEnd_);
    platform::StandardError().WriteBytes(report.data(), report.size());
    return true;
  }

 private:
  std::string_view lineEnd_;
  std::string page_;
  std::string title_;
  std::optional<devtools::StatementTracer> tracer_;
  std::optional<devtools::LineProfiler> profiler_;
};

int Dispatch(const FrontEndCommand& command, const std::string& selfPath,
             const ConsoleStreams& streams, const ErrorLineWriter& reportError) {
  std::string error;
  switch (command.kind) {
    case FrontEndCommand::Kind::kUsageError: reportError(command.error); return kExitUsage;
    case FrontEndCommand::Kind::kHelp: WriteText(streams.out, kFrontEndHelp); return kExitOk;
    case FrontEndCommand::Kind::kVersion: WriteText(streams.out, VersionText()); return kExitOk;
    case FrontEndCommand::Kind::kConsole: {
      RunWatch watch(command, streams);
      RunConsoleLoop(streams, watch.observer());
      if (!watch.RunEnded(error)) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      return kExitOk;
    }
    case FrontEndCommand::Kind::kRunFile: {
      std::optional<std::string> text = ReadProgram(command.programPath, streams.in, error);
      if (!text) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      const std::string_view file = ProgramTextOf(*text);
      if (!IsProgramText(file, command.programPath, reportError)) return kExitUsage;
      std::string program = ToCrLfLineEnds(file);
      text.reset();  // the file's bytes are not needed while it runs
      RunWatch watch(command, streams);
      const int status = RunProgramText(std::move(program), streams, watch.observer());
      if (!watch.RunEnded(error)) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      return status == 0 ? kExitOk : kExitFailure;
    }
    case FrontEndCommand::Kind::kBind: {
      // The output would replace the program it is made from; compared by the
      // file reached, so "./p.bas" or a link to it counts as well.
      if (command.programPath != "-" &&
          platform::IsSameFile(command.programPath, command.outputPath)) {
        reportError(UsageError("-o " + command.outputPath + " is the program file itself").error);
        return kExitUsage;
      }
      std::string stubPath = command.stubPath;
      std::optional<std::string> stub;
      if (stubPath.empty()) {
        const std::vector<std::string> places = StubSearchPaths(selfPath);
        for (const std::string& candidate : places) {
          stub = platform::ReadWholeFile(candidate, error);
          if (stub) {
            stubPath = candidate;
            break;
          }
        }
        if (!stub) {
          reportError("basic: no run-time stub found: looked for " + ListOfPlaces(places) +
                      "; name one with --stub STUB");
          return kExitUsage;
        }
      } else {
        stub = platform::ReadWholeFile(stubPath, error);
      }
      // Anything else would bind into an executable that ignores the program.
      if (stub && !CarriesStubMarker(*stub)) {
        reportError("basic: " + stubPath + " is not a basic run-time stub (basstub)");
        return kExitUsage;
      }
      std::optional<std::string> program;
      if (stub) program = ReadProgram(command.programPath, streams.in, error);
      if (!stub || !program) {
        reportError("basic: " + error);
        return kExitUsage;
      }
      const std::string_view file = ProgramTextOf(*program);
      if (!IsProgramText(file, command.programPath, reportError)) return kExitUsage;
      std::string bound;
      try {
        bound = BindProgram(*stub, file);
      } catch (const RuntimeFault& e) {
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
