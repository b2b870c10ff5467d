// `basic`, the developer front end: runs a program file as a bound
// executable would, runs the console loop, or binds a program to a stub.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "program_runner.h"

namespace basic::app {

struct FrontEndCommand {
  enum class Kind { kConsole, kRunFile, kBind, kHelp, kVersion, kUsageError };
  Kind kind = Kind::kConsole;
  // kConsole, kRunFile: a development tool that watches the run.
  enum class Watch { kNone, kTrace, kTraceJumps, kProfile };
  Watch watch = Watch::kNone;
  // kProfile: the HTML page to write (--profile=FILE.html); empty: the text
  // report on standard error.
  std::string profilePage;
  std::string programPath;
  std::string outputPath;  // kBind
  std::string stubPath;    // kBind; empty: the stub beside the front end
  std::string error;       // kUsageError
};

// Arguments without the program name.
FrontEndCommand ParseArguments(const std::vector<std::string>& args);

// Program files written on Linux end lines with a lone LF; a Windows stub
// splits its text only at CR LF. Every LF not preceded by CR gets one.
std::string ToCrLfLineEnds(std::string_view text);

// A first line that begins with "#!" names the interpreter of a script
// (`#!/usr/bin/env basic`); it is not BASIC, so it is dropped.
std::string_view WithoutScriptLine(std::string_view text);

// The BASIC text of a program file: without a byte order mark and without
// a script line, in that order.
std::string_view ProgramTextOf(std::string_view file);

// A NUL byte outside a string literal: the file is not text (a binary, or
// text saved as UTF-16), and no line of it would mean what its author meant.
bool HasNulOutsideStrings(std::string_view text);

// The stub of this build, in the directory of the front end's own file.
std::string StubPathBeside(const std::string& frontEndPath);

// Where --bind looks for the stub, in order: beside the front end (a build
// tree, or an installation that keeps both together), then where the
// installation puts it relative to the front end's directory.
std::vector<std::string> StubSearchPaths(const std::string& frontEndPath);

// The stub's image followed by the program with CR LF line ends. Whatever a
// bound stub already carries is replaced. Throws RuntimeFault when the stub is
// not an executable image.
std::string BindProgram(std::string_view stub, std::string_view program);

extern const char* const kFrontEndHelp;
// "basic " and the version of this build.
std::string VersionText();

// Exit codes: 0 done, 2 bad usage or a file that cannot be read or written,
// 1 anything else that stopped the front end (output that cannot be written,
// memory that ran out).
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

int RunFrontEnd(const std::vector<std::string>& args, const std::string& selfPath,
                const ConsoleStreams& streams, const ErrorLineWriter& reportError);

}  // namespace basic::app
