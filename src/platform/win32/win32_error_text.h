// The system's text for a Win32 error code.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace basic::platform {

// Without the full stop and line end the system puts at its end; empty when
// the system has no text for the code.
inline std::string SystemErrorText(DWORD error) {
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  while (n > 0 && (static_cast<unsigned char>(text[n - 1]) <= ' ' || text[n - 1] == '.')) --n;
  return std::string(text, n);
}

}  // namespace basic::platform
