// The part of a PE image's headers that both image readers need: the stub's
// overlay rule (where the appended program starts) and the executable image
// check (what kind of program a file holds). Offsets and the size rule for
// the section table are defined here once.
#pragma once

#include <cstdint>

namespace basic::shell {

inline constexpr uint64_t kDosHeaderSize = 64;
inline constexpr uint64_t kNewHeaderOffsetField = 60;  // e_lfanew, in the DOS header
inline constexpr uint16_t kMzSignature = 0x5A4D;
inline constexpr uint16_t kPeSignature = 0x4550;  // "PE", then two NUL bytes
// The 32-bit optional header; the 64-bit one (PE32+) is longer.
inline constexpr uint64_t kPe32OptionalHeaderSize = 224;
inline constexpr uint64_t kSubsystemOffset = 68;  // in the optional header, both forms
inline constexpr uint64_t kSectionHeaderSize = 40;

inline uint64_t LittleEndian(const unsigned char* p, int size) {
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

// What the four signature bytes, the file header and the optional header's
// first word say.
struct PeHeader {
  uint64_t at = 0;  // the new header: where the signature is
  uint32_t signature = 0;
  uint16_t sectionCount = 0;
  uint16_t optionalHeaderSize = 0;  // as the file header claims it
  uint16_t characteristics = 0;
  uint16_t magic = 0;  // 0x20B in a PE32+ (64-bit) image

  static constexpr uint64_t kFileHeaderEnd = 4 + 20;
  static constexpr uint64_t kBytes = kFileHeaderEnd + 2;  // with the magic
  static constexpr uint16_t kPe32PlusMagic = 0x20B;
  static constexpr uint16_t kExecutableImage = 0x0002;
  static constexpr uint16_t kDll = 0x2000;

  // From `count` bytes at `at`: kFileHeaderEnd, or kBytes for the magic too.
  static PeHeader Parse(uint64_t at, const unsigned char* bytes, uint64_t count) {
    PeHeader h;
    h.at = at;
    h.signature = static_cast<uint32_t>(LittleEndian(bytes, 4));
    h.sectionCount = static_cast<uint16_t>(LittleEndian(bytes + 4 + 2, 2));
    h.optionalHeaderSize = static_cast<uint16_t>(LittleEndian(bytes + 4 + 16, 2));
    h.characteristics = static_cast<uint16_t>(LittleEndian(bytes + 4 + 18, 2));
    if (count >= kBytes) h.magic = static_cast<uint16_t>(LittleEndian(bytes + kFileHeaderEnd, 2));
    return h;
  }
  uint64_t OptionalHeader() const { return at + kFileHeaderEnd; }
  // The 32-bit stub's rule is the fixed 224-byte optional header, whatever
  // the file header claims; a 64-bit image's is longer, and only its own
  // size field says by how much.
  uint64_t SectionTable() const {
    return OptionalHeader() +
           (magic == kPe32PlusMagic ? optionalHeaderSize : kPe32OptionalHeaderSize);
  }
};

}  // namespace basic::shell
