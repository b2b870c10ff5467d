// The start decisions of the child process runner, per target.
#include "start_plan.h"

#include <algorithm>

#include "errors.h"

namespace basic::shell {

namespace {

// From the last "." of the last path component, upper-cased; "" without one.
std::string UpperExtension(const std::string& program) {
  const size_t componentStart = program.find_last_of("\\/:");
  const size_t dot = program.rfind('.');
  if (dot == std::string::npos || (componentStart != std::string::npos && dot < componentStart))
    return {};
  std::string ext = program.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return ext;
}

std::string Quoted(const std::string& path, const std::string& parameters) {
  return "\"" + path + "\" " + parameters;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Win32CommandLine(const std::string& program, const std::string& parameters,
                             const ProgramFinder& find, const ImageReader& readImage) {
  const std::string ext = UpperExtension(program);
  // The system hands batch files to the command interpreter itself.
  if (ext == ".BAT" || ext == ".CMD") return Quoted(program, parameters);
  if (!ext.empty() && ext != ".EXE" && ext != ".COM")
    throw RuntimeFault(program + msg::kInvalidExtension);

  const std::optional<std::string> path = find(program);
  if (!path) throw RuntimeFault(msg::kCouldNotFind + program);
  int32_t subsystem = 0;
  const ExeType kind = ext == ".COM" ? etDos : readImage(*path, subsystem);
  if (kind == etDos || kind == etOS2) return "cmd /c\"" + Quoted(*path, parameters) + "\"";
  if (kind == etWin32 && subsystem == 3) return Quoted(*path, parameters);
  throw RuntimeFault(msg::kUnsupportedImage);
}

platform::ChildCommand PosixCommand(const std::string& program, const std::string& parameters,
                                    const ProgramFinder& find, const FileStartReader& readStart) {
  const std::optional<std::string> path = find(program);
  if (!path) throw RuntimeFault(msg::kCouldNotFind + program);
  const std::string start = readStart(*path, 4);
  if (start != "\177ELF" && start.rfind("#!", 0) != 0) throw RuntimeFault(msg::kUnsupportedImage);

  platform::ChildCommand command;
  command.file = *path;
  command.arguments.push_back(program);
  for (std::string& argument : SplitArguments(parameters))
    command.arguments.push_back(std::move(argument));
  return command;
}

std::vector<std::string> SplitArguments(const std::string& parameters) {
  std::vector<std::string> arguments;
  size_t i = 0;
  const size_t n = parameters.size();
  for (;;) {
    while (i < n && IsBlank(parameters[i])) ++i;
    if (i == n) return arguments;
    // One argument: up to a blank outside quotes. Quotes may open and close
    // anywhere in it, so "" alone is an empty argument.
    std::string argument;
    bool quoted = false;
    for (; i < n && (quoted || !IsBlank(parameters[i])); ++i) {
      const char c = parameters[i];
      if (c != '"') {
        argument += c;
      } else if (quoted && i + 1 < n && parameters[i + 1] == '"') {
        argument += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    }
    arguments.push_back(std::move(argument));
  }
}

std::string ReadFileStart(const std::string& path, size_t count) {
  auto file = platform::ReadOnlyFile::Open(path);
  std::string bytes(static_cast<size_t>(std::min<uint64_t>(count, file->Size())), '\0');
  if (!bytes.empty()) file->ReadExact(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace basic::shell
