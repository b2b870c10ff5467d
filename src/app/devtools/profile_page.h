// `basic --profile=FILE.html`: the profile as one page that needs nothing
// but a browser (no script, nothing fetched): the whole listing, each line
// shaded by its share of the time.
#pragma once

#include <string>
#include <string_view>

#include "line_profiler.h"

namespace basic::devtools {

// text with &, <, >, " and ' written as references, safe in an element and
// in an attribute value.
std::string EscapeHtml(std::string_view text);

// The page for `profile` of the program `title` names; lines end in lineEnd.
std::string ProfilePage(const ProfileSummary& profile, std::string_view title,
                        std::string_view lineEnd);

}  // namespace basic::devtools
