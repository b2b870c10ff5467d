#include "appended_program.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "errors.h"
#include "pe_image.h"

namespace basic::app {

namespace {

[[noreturn]] void ThrowReadError() { throw RuntimeFault(msg::kStreamRead); }

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

// Header offsets are untrusted: sums and products saturate instead of
// wrapping to a small, plausible value.
uint64_t SatAdd(uint64_t a, uint64_t b) { return a > kMax - b ? kMax : a + b; }
uint64_t SatMul(uint64_t a, uint64_t b) { return b != 0 && a > kMax / b ? kMax : a * b; }

using shell::LittleEndian;

uint64_t Big(const unsigned char* p, int size) {
  uint64_t v = 0;
  for (int i = 0; i < size; ++i) v = (v << 8) | p[i];
  return v;
}

// --- PE --------------------------------------------------------------------

constexpr uint64_t kSizeOfRawDataOffset = 16;  // in a section header
constexpr uint64_t kPointerToRawDataOffset = 20;

// --- ELF -------------------------------------------------------------------

// Field positions that differ between the two classes.
struct ElfLayout {
  uint64_t headerSize;
  int wordSize;  // addresses and offsets
  uint64_t phoff, shoff, phentsize, phnum, shentsize, shnum;
  uint64_t shType, shOffset, shSize;  // within a section header
  uint64_t minSectionHeader;          // bytes needed to reach them all
};

constexpr ElfLayout kElf32 = {52, 4, 28, 32, 42, 44, 46, 48, 4, 16, 20, 24};
constexpr ElfLayout kElf64 = {64, 8, 32, 40, 54, 56, 58, 60, 4, 24, 32, 40};

constexpr uint64_t kSectionNull = 0;    // SHT_NULL: entry 0 may hold the section count
constexpr uint64_t kSectionNoBits = 8;  // SHT_NOBITS: occupies no file space

class ElfFields {
 public:
  ElfFields(const ElfLayout& layout, bool bigEndian) : layout_(layout), big_(bigEndian) {}
  uint64_t Half(const unsigned char* base, uint64_t at) const { return Get(base + at, 2); }
  uint64_t Word(const unsigned char* base, uint64_t at) const { return Get(base + at, 4); }
  uint64_t Addr(const unsigned char* base, uint64_t at) const {
    return Get(base + at, layout_.wordSize);
  }

 private:
  uint64_t Get(const unsigned char* p, int size) const {
    return big_ ? Big(p, size) : LittleEndian(p, size);
  }
  const ElfLayout& layout_;
  bool big_;
};

void ReadAt(platform::ReadOnlyFile& file, uint64_t offset, unsigned char* buffer, size_t count) {
  file.Seek(offset);
  file.ReadExact(buffer, count);
}

}  // namespace

void MemoryFile::ReadExact(void* buffer, size_t count) {
  if (pos_ > bytes_.size() || bytes_.size() - pos_ < count) ThrowReadError();
  if (count == 0) return;  // the buffer of an empty table may be null
  std::memcpy(buffer, bytes_.data() + pos_, count);
  pos_ += count;
}

std::optional<uint64_t> FindPeOverlay(platform::ReadOnlyFile& file) {
  using shell::PeHeader;
  unsigned char dos[shell::kDosHeaderSize];
  ReadAt(file, 0, dos, sizeof dos);
  const uint64_t at = LittleEndian(dos + shell::kNewHeaderOffsetField, 4);
  unsigned char bytes[PeHeader::kBytes];
  ReadAt(file, at, bytes, sizeof bytes);
  const PeHeader pe = PeHeader::Parse(at, bytes, sizeof bytes);
  if (pe.magic != PeHeader::kPe32PlusMagic) {
    // The fixed-size optional header must be there in full.
    unsigned char optional[shell::kPe32OptionalHeaderSize];
    ReadAt(file, pe.OptionalHeader(), optional, sizeof optional);
  }
  const uint64_t table = pe.SectionTable();
  for (uint64_t i = pe.sectionCount; i-- > 0;) {
    unsigned char section[shell::kSectionHeaderSize];
    ReadAt(file, table + shell::kSectionHeaderSize * i, section, sizeof section);
    uint64_t size = LittleEndian(section + kSizeOfRawDataOffset, 4);
    uint64_t pointer = LittleEndian(section + kPointerToRawDataOffset, 4);
    if (pointer != 0 && size != 0) return pointer + size;
  }
  return std::nullopt;
}

uint64_t FindElfImageEnd(platform::ReadOnlyFile& file) {
  unsigned char header[64] = {};
  ReadAt(file, 0, header, 16);
  const unsigned char elfClass = header[4], elfData = header[5];
  if ((elfClass != 1 && elfClass != 2) || (elfData != 1 && elfData != 2)) ThrowReadError();
  const ElfLayout& layout = elfClass == 1 ? kElf32 : kElf64;
  const ElfFields f(layout, elfData == 2);
  file.ReadExact(header + 16, static_cast<size_t>(layout.headerSize - 16));

  const uint64_t fileSize = file.Size();
  uint64_t phoff = f.Addr(header, layout.phoff);
  uint64_t shoff = f.Addr(header, layout.shoff);
  uint64_t phentsize = f.Half(header, layout.phentsize);
  uint64_t phnum = f.Half(header, layout.phnum);
  uint64_t shentsize = f.Half(header, layout.shentsize);
  uint64_t shnum = f.Half(header, layout.shnum);

  std::vector<unsigned char> table;
  if (shoff != 0) {
    if (shentsize < layout.minSectionHeader) ThrowReadError();
    // A count too large for the header field lives in section 0.
    if (shnum == 0) {
      std::vector<unsigned char> first(static_cast<size_t>(shentsize));  // a 16-bit field
      ReadAt(file, shoff, first.data(), first.size());
      shnum = f.Addr(first.data(), layout.shSize);
    }
    // The whole table must lie within the file before it is read.
    uint64_t tableSize = SatMul(shnum, shentsize);
    if (shoff > fileSize || tableSize > fileSize - shoff) ThrowReadError();
    table.resize(static_cast<size_t>(tableSize));
    ReadAt(file, shoff, table.data(), table.size());
  } else {
    shnum = 0;
  }

  uint64_t end = layout.headerSize;
  if (phnum != 0) end = std::max(end, SatAdd(phoff, SatMul(phnum, phentsize)));
  if (shnum != 0) end = std::max(end, SatAdd(shoff, SatMul(shnum, shentsize)));
  for (uint64_t i = 0; i < shnum; ++i) {
    const unsigned char* section = table.data() + i * shentsize;
    uint64_t type = f.Word(section, layout.shType);
    if (type == kSectionNull || type == kSectionNoBits) continue;
    end = std::max(end, SatAdd(f.Addr(section, layout.shOffset), f.Addr(section, layout.shSize)));
  }
  return end;
}

std::optional<uint64_t> FindAppendedStart(platform::ReadOnlyFile& file, ImageFormat format) {
  if (format == ImageFormat::kPe) return FindPeOverlay(file);
  return FindElfImageEnd(file);
}

std::string ReadAppendedProgram(platform::ReadOnlyFile& file, ImageFormat format) {
  std::optional<uint64_t> start = FindAppendedStart(file, format);
  uint64_t size = file.Size();
  if (!start || *start >= size) return {};
  uint64_t length = size - *start;
  if (length > std::string().max_size()) throw RuntimeFault(msg::kOutOfMemory);
  std::string text(static_cast<size_t>(length), '\0');
  file.Seek(*start);
  file.ReadExact(text.data(), text.size());
  return text;
}

std::optional<ImageFormat> DetectImageFormat(std::string_view image) {
  if (image.substr(0, 2) == "MZ") return ImageFormat::kPe;
  if (image.substr(0, 4) == "\177ELF") return ImageFormat::kElf;
  return std::nullopt;
}

}  // namespace basic::app
