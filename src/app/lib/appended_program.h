// The program text appended to an executable image. The image's own headers
// say where it ends; everything behind that, to the end of the file, is the
// program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform.h"

namespace basic::app {

enum class ImageFormat { kPe, kElf };

// The format the stub of this build is linked in.
#ifdef _WIN32
inline constexpr ImageFormat kOwnImageFormat = ImageFormat::kPe;
#else
inline constexpr ImageFormat kOwnImageFormat = ImageFormat::kElf;
#endif

// PE: the end of the file data of the last section, in table order, whose
// PointerToRawData and SizeOfRawData are both non-zero; nullopt when no
// section has file data. Neither signature is checked. The section table
// follows the optional header: in a 64-bit (PE32+) image at the size its file
// header gives, in any other image at the fixed 224 bytes of the 32-bit form.
std::optional<uint64_t> FindPeOverlay(platform::ReadOnlyFile& file);

// ELF (32 or 64 bit, either byte order): the end of the image, the furthest
// of the file header, the program and section header tables, and the file
// data of every section that has some.
uint64_t FindElfImageEnd(platform::ReadOnlyFile& file);

// Where the appended text starts; nullopt when the image says none can.
std::optional<uint64_t> FindAppendedStart(platform::ReadOnlyFile& file, ImageFormat format);

// The appended text, byte for byte; empty when there is none, also when the
// headers place it past the end of the file. Headers that cannot be read in
// full throw RuntimeFault "Stream read error".
std::string ReadAppendedProgram(platform::ReadOnlyFile& file, ImageFormat format);

// The format an image's first bytes announce; nullopt for anything else.
std::optional<ImageFormat> DetectImageFormat(std::string_view image);

// A file held in memory, for images that are already loaded.
class MemoryFile : public platform::ReadOnlyFile {
 public:
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() override { return bytes_.size(); }
  void Seek(uint64_t offset) override { pos_ = offset; }
  uint64_t Position() override { return pos_; }
  void ReadExact(void* buffer, size_t count) override;

 private:
  std::string_view bytes_;
  uint64_t pos_ = 0;
};

}  // namespace basic::app
