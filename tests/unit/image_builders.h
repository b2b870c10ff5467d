// Small executable images made in memory: just the header fields the
// appended-program readers look at, with section data where the headers say.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace basic::test {

inline void PutLittle(std::string& image, size_t at, uint64_t value, int size) {
  if (image.size() < at + size) image.resize(at + size, '\0');
  for (int i = 0; i < size; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
}

inline void PutBig(std::string& image, size_t at, uint64_t value, int size) {
  if (image.size() < at + size) image.resize(at + size, '\0');
  for (int i = 0; i < size; ++i) image[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
}

struct PeSection {
  uint32_t pointer;  // PointerToRawData
  uint32_t size;     // SizeOfRawData
};

// A PE image whose file data ends where the furthest section's data ends.
// The 32-bit form (magic 0x10B) has a 224-byte optional header, the 64-bit
// form (0x20B) a 240-byte one.
inline std::string MakePe(const std::vector<PeSection>& sections, uint32_t lfanew = 0x80,
                          uint16_t magic = 0x10B) {
  const size_t optionalSize = magic == 0x20B ? 240 : 224;
  const size_t table = lfanew + 24 + optionalSize;
  std::string image = "MZ";
  PutLittle(image, 60, lfanew, 4);
  PutLittle(image, lfanew, 0x4550, 4);  // "PE\0\0"
  PutLittle(image, lfanew + 6, sections.size(), 2);
  PutLittle(image, lfanew + 20, optionalSize, 2);  // SizeOfOptionalHeader
  PutLittle(image, lfanew + 24, magic, 2);
  size_t end = table + 40 * sections.size();
  for (size_t i = 0; i < sections.size(); ++i) {
    size_t header = table + 40 * i;
    PutLittle(image, header + 16, sections[i].size, 4);
    PutLittle(image, header + 20, sections[i].pointer, 4);
    if (sections[i].pointer != 0 && sections[i].size != 0)
      end = std::max<size_t>(end, size_t{sections[i].pointer} + sections[i].size);
  }
  image.resize(std::max(image.size(), end), '\x90');
  return image;
}

inline std::string MakePe64(const std::vector<PeSection>& sections, uint32_t lfanew = 0x80) {
  return MakePe(sections, lfanew, 0x20B);
}

// A PE image with full headers, no sections, the given characteristics word
// and optional-header subsystem.
inline std::string MakePeHeaders(uint16_t characteristics, uint16_t subsystem,
                                 uint32_t lfanew = 0x80, uint16_t magic = 0x10B) {
  std::string image = MakePe({}, lfanew, magic);
  PutLittle(image, lfanew + 22, characteristics, 2);
  PutLittle(image, lfanew + 24 + 68, subsystem, 2);
  return image;
}

// An "MZ" image whose new header at lfanew is size bytes long: the two
// signature bytes, then zeros.
inline std::string MakeNewHeader(const char* signature, size_t size, uint32_t lfanew = 0x80) {
  std::string image = "MZ";
  PutLittle(image, 60, lfanew, 4);
  image.resize(lfanew + size, '\0');
  image[lfanew] = signature[0];
  image[lfanew + 1] = signature[1];
  return image;
}

struct ElfSection {
  uint32_t type;  // 1 PROGBITS, 8 NOBITS, ...
  uint64_t offset;
  uint64_t size;
};

struct ElfLayout {
  bool is64 = true;
  bool bigEndian = false;
  uint64_t phoff = 0;
  uint16_t phnum = 0;
  uint64_t shoff = 0;
  std::vector<ElfSection> sections;  // entry 0 (SHT_NULL) is added in front
  bool extendedCount = false;        // e_shnum 0, the count in entry 0
};

// An ELF image: header, program header table and section header table where
// the layout puts them, section data filled in; the file ends at the furthest.
inline std::string MakeElf(const ElfLayout& layout) {
  std::string image = "\177ELF";
  image.resize(16, '\0');
  image[4] = layout.is64 ? 2 : 1;
  image[5] = layout.bigEndian ? 2 : 1;
  image[6] = 1;
  image.resize(layout.is64 ? 64 : 52, '\0');
  auto put = [&](size_t at, uint64_t value, int size) {
    layout.bigEndian ? PutBig(image, at, value, size) : PutLittle(image, at, value, size);
  };
  const int word = layout.is64 ? 8 : 4;
  const uint64_t phentsize = layout.is64 ? 56 : 32, shentsize = layout.is64 ? 64 : 40;
  const uint64_t count = layout.sections.size() + 1;
  put(16, 2, 2);  // ET_EXEC
  if (layout.is64) {
    put(32, layout.phoff, 8);
    put(40, layout.shoff, 8);
    put(52, 64, 2);
    put(54, phentsize, 2);
    put(56, layout.phnum, 2);
    put(58, shentsize, 2);
    put(60, layout.extendedCount ? 0 : count, 2);
  } else {
    put(28, layout.phoff, 4);
    put(32, layout.shoff, 4);
    put(40, 52, 2);
    put(42, phentsize, 2);
    put(44, layout.phnum, 2);
    put(46, shentsize, 2);
    put(48, layout.extendedCount ? 0 : count, 2);
  }
  size_t end = image.size();
  // The test images are small: every offset fits a size_t, also in 32-bit builds.
  auto at = [](uint64_t offset) { return static_cast<size_t>(offset); };
  if (layout.phnum != 0) end = std::max(end, at(layout.phoff + layout.phnum * phentsize));
  if (layout.shoff != 0) {
    end = std::max(end, at(layout.shoff + count * shentsize));
    const size_t offsetAt = layout.is64 ? 24 : 16, sizeAt = layout.is64 ? 32 : 20;
    if (layout.extendedCount) put(at(layout.shoff) + sizeAt, count, word);
    for (size_t i = 0; i < layout.sections.size(); ++i) {
      const ElfSection& s = layout.sections[i];
      size_t header = at(layout.shoff + (i + 1) * shentsize);
      put(header + 4, s.type, 4);
      put(header + offsetAt, s.offset, word);
      put(header + sizeAt, s.size, word);
      if (s.type != 8 && s.offset + s.size > end && s.offset + s.size < (1u << 20))
        end = at(s.offset + s.size);
    }
  }
  image.resize(std::max(image.size(), end), '\0');
  return image;
}

// Our stubs carry a marker that `basic --bind` looks for; this writes it into
// the image part of a PE image made by MakePe with a section at 0x200, or of
// an ELF image whose section table starts at 0x100 or later.
inline std::string WithStubMarker(std::string image, const std::string& marker) {
  const size_t at = image.starts_with("MZ") ? 0x200 : 0x80;
  image.replace(at, marker.size(), marker);
  return image;
}

// A directory of its own for one test, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    static int serial = 0;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("basic-test-" + std::to_string(std::random_device{}()) + "-" +
                      std::to_string(++serial));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace basic::test
