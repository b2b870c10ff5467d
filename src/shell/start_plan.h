// How a program is started: which file, command line or argument vector the
// child process runner hands to the system. Pure decisions; the search and
// the file reading come in as parameters, so both targets' rules are tested
// on both targets.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exe_header.h"
#include "platform.h"

namespace basic::shell {

// The path the system's search gives for a program name; nullopt: none.
using ProgramFinder = std::function<std::optional<std::string>(const std::string& name)>;
// The image kind (and subsystem) of a found Win32 program file.
using ImageReader = std::function<ExeType(const std::string& path, int32_t& subsystem)>;
// Up to count bytes from the start of a found POSIX program file.
using FileStartReader = std::function<std::string(const std::string& path, size_t count)>;

// Win32: the command line (platform::ChildCommand::commandLine). Batch files
// go by name; .EXE and .COM files are searched for and their image decides:
// console programs start directly, DOS and OS/2 programs through cmd, the rest
// is refused. Raises RuntimeFault.
std::string Win32CommandLine(const std::string& program, const std::string& parameters,
                             const ProgramFinder& find, const ImageReader& readImage);

// POSIX: the file to execute and its argument vector (the program name as
// given, then the parameters split). Only ELF images and "#!" scripts start.
// Raises RuntimeFault.
platform::ChildCommand PosixCommand(const std::string& program, const std::string& parameters,
                                    const ProgramFinder& find, const FileStartReader& readStart);

// Parameters as arguments, without a shell: blanks separate, double quotes
// group (a "" inside quotes is one quote), nothing else is special.
std::vector<std::string> SplitArguments(const std::string& parameters);

// The first count bytes of a file (fewer when it is shorter).
std::string ReadFileStart(const std::string& path, size_t count);

}  // namespace basic::shell
