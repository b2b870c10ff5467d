// The marker that tells our run-time stubs from any other executable image.
// The stub holds it as one string; `basic` holds only its two halves, each
// ended by a NUL, so that `basic` itself (or any other file) is no stub.
#pragma once

#include <string_view>

#define BASIC_STUB_MARKER_HEAD \
  "\x7f"                       \
  "basic-stub run-time stub"
#define BASIC_STUB_MARKER_TAIL " for bound BASIC programs\x7f"

namespace basic::app {

// True when the image part of `file` (everything before where a program is
// appended) holds the whole marker.
bool CarriesStubMarker(std::string_view file);

}  // namespace basic::app
