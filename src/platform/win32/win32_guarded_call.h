// Running a library function so that a fault inside it is a failed call,
// not the end of the process.
#pragma once

#include <cstddef>
#include <cstdint>

#include "external_code.h"

namespace basic::platform {

// Calls entry with count (<= kMaxCallWords) words, the first word as the
// first argument: stdcall (or cdecl) on 32-bit Windows, the x64 convention
// on 64-bit Windows. Stores the callee's 32-bit result and returns true;
// returns false when the callee faulted.
bool CallLibraryFunction(void* entry, const intptr_t* words, size_t count, int32_t* result);

}  // namespace basic::platform
