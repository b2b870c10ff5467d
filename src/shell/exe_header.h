// The executable image check: what kind of program a file holds, read from
// its own headers (the system is not asked).
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

namespace basic::shell {

enum ExeType : int32_t {
  etWin32 = 0,  // "PE", an executable image that is not a DLL
  etDos = 1,    // "MZ" without a recognised new header
  etWin16 = 2,  // "NE" for Windows
  etNE = 5,     // "NE" for another system
  etLE = 6,
  etDll = 7,
  etOS2 = 8,  // "NE" for OS/2
};

// The kind of image in the file and, for etWin32, its subsystem (3 console,
// 2 graphical; 0 otherwise). Failures raise RuntimeFault.
ExeType GetExeType(const std::string& fileName, int32_t& subsystem);
ExeType GetExeType(platform::ReadOnlyFile& file, int32_t& subsystem);

}  // namespace basic::shell
