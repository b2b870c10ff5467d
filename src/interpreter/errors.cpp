#include "errors.h"

namespace basic {

LibraryFault::LibraryFault() : EBasic(kErrorCode, msg::kAccessViolation) {}

void RaiseError(int code, const std::string& message) { throw EBasic(code, message); }
void RaiseMessage(const char* message) { throw EBasic(kErrorCode, message); }
void SyntaxError() { RaiseMessage(msg::kSyntaxError); }
void TypeMismatch() { RaiseMessage(msg::kTypeMismatch); }
void BadSubscript() { RaiseMessage(msg::kBadSubscript); }
void RaiseRuntime(const char* message) { throw RuntimeFault(message); }

std::string FileErrorMessage(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

}  // namespace basic
