#include "stub_marker.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "appended_program.h"

namespace basic::app {

bool CarriesStubMarker(std::string_view file) {
  std::optional<ImageFormat> format = DetectImageFormat(file);
  if (!format) return false;
  std::optional<uint64_t> end;
  try {
    MemoryFile image(file);
    end = FindAppendedStart(image, *format);
  } catch (const std::exception&) {
    return false;  // headers that cannot be read are no stub of ours
  }
  if (!end) return false;
  // A program appended to the stub may quote the marker; only the image counts.
  const std::string_view image =
      file.substr(0, static_cast<size_t>(std::min<uint64_t>(*end, file.size())));
  constexpr std::string_view head = BASIC_STUB_MARKER_HEAD, tail = BASIC_STUB_MARKER_TAIL;
  for (size_t at = image.find(head); at != std::string_view::npos; at = image.find(head, at + 1)) {
    if (image.substr(at + head.size()).starts_with(tail)) return true;
  }
  return false;
}

}  // namespace basic::app
