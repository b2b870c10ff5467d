// Executable headers from arbitrary bytes: the Shell's image check and the
// stub's search for its appended program must end in a result or in a
// reported error, never read outside the file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "appended_program.h"
#include "exe_header.h"

namespace {

template <typename F>
void Attempt(F&& f) {
  try {
    f();
  } catch (const std::exception&) {
    // Damaged headers are reported by an exception: that is the sound outcome.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace basic;
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  Attempt([&] {
    app::MemoryFile file(image);
    int32_t subsystem = 0;
    shell::GetExeType(file, subsystem);
  });
  for (app::ImageFormat format : {app::ImageFormat::kPe, app::ImageFormat::kElf}) {
    Attempt([&] {
      app::MemoryFile file(image);
      const std::string text = app::ReadAppendedProgram(file, format);
      if (text.size() > size) __builtin_trap();  // more than the file holds
    });
  }
  Attempt([&] { app::DetectImageFormat(image); });
  return 0;
}
