// Errors: the one exception class the interpreter raises (EBasic, with a code),
// the runtime's message-only class, the raise helpers, and every message text.
#pragma once

#include <stdexcept>
#include <string>

namespace basic {

// Every error the interpreter detects itself. Reported with its code inside a
// run ("(42) Syntax error in 20"), with the message alone outside a run.
class EBasic : public std::runtime_error {
 public:
  EBasic(int code, const std::string& message) : std::runtime_error(message), errorCode(code) {}
  int errorCode;
};

// Faults of the runtime (floating point, files, console input, limits) and of
// the shell subsystem: a message only, no code in any report.
class RuntimeFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A library function that faulted (bad pointer, wrong signature): the run
// ends, and the process, whose memory the callee may have damaged, should not
// go on to run more programs.
class LibraryFault : public EBasic {
 public:
  LibraryFault();
};

inline constexpr int kErrorCode = 42;
inline constexpr int kBreakCode = -20;

// Message texts, exactly as the user sees them.
namespace msg {
inline constexpr const char* kSyntaxError = "Syntax error";
inline constexpr const char* kTypeMismatch = "Type mismatch error";
inline constexpr const char* kBadSubscript = "Bad subscript";
inline constexpr const char* kAlreadyDimensioned = "Array already dimensioned";
inline constexpr const char* kIllegalCommand = "Illegal command";
inline constexpr const char* kExtraInformation = "Extra information on line";
inline constexpr const char* kUndefinedLine = "Undefined line";
inline constexpr const char* kForWithoutNext = "FOR without NEXT";
inline constexpr const char* kNextWithoutFor = "NEXT without FOR";
inline constexpr const char* kWhileWithoutWend = "WHILE without WEND";
inline constexpr const char* kWendWithoutWhile = "WEND without WHILE";
inline constexpr const char* kReturnWithoutGosub = "RETURN without GOSUB";
inline constexpr const char* kOutOfData = "Out of Data";
inline constexpr const char* kExternalMissing = "external function missing";
inline constexpr const char* kBreak = "Break";
inline constexpr const char* kAccessViolation = "Access violation";
inline constexpr const char* kRestartAfterFault =
    "Warning: a library function faulted; SAVE your program and restart basic";

// Runtime (message-only) texts.
inline constexpr const char* kFpDivisionByZero = "Floating point division by zero";
inline constexpr const char* kFpInvalid = "Invalid floating point operation";
inline constexpr const char* kFpOverflow = "Floating point overflow";
inline constexpr const char* kDivisionByZero = "Division by zero";
inline constexpr const char* kStackOverflow = "Stack overflow";
inline constexpr const char* kOutOfMemory = "Out of memory";
inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kStreamRead = "Stream read error";
inline constexpr const char* kCannotOpenFile = "Cannot open file ";  // followed by the path
inline constexpr const char* kBadLineInFile = "Bad line in file";

// Executable images and child processes (the Shell command).
inline constexpr const char* kDosSignature = "Dos signature not present";
inline constexpr const char* kNotExecutable = "File is not executable";
inline constexpr const char* kInvalidExtension = " has invalid file extension";  // after the name
inline constexpr const char* kCouldNotFind = "Could not find file ";  // followed by the name
inline constexpr const char* kUnsupportedImage = "Executable image is not a supported type";
// A failed system call: the prefix, the code, ".\n" and the system's text.
inline constexpr const char* kWin32ErrorCode = "Win32 Error.  Code: ";
inline constexpr const char* kWin32Failed = "A Win32 API function failed";
inline constexpr const char* kSystemErrorCode = "System Error.  Code: ";
}  // namespace msg

[[noreturn]] void RaiseError(int code, const std::string& message);
[[noreturn]] void RaiseMessage(const char* message);
[[noreturn]] void SyntaxError();
[[noreturn]] void TypeMismatch();
[[noreturn]] void BadSubscript();
[[noreturn]] void RaiseRuntime(const char* message);

// The message of a file or console I/O fault by its system code (2 "File not
// found", 3 "Invalid filename", ..., otherwise "I/O error N").
std::string FileErrorMessage(int code);

}  // namespace basic
