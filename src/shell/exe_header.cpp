// The executable image check. Only the headers a program loader would look
// at first are read: the DOS header, the new header's signature, and for NE
// the target system, for PE the characteristics and the subsystem.
#include "exe_header.h"

#include "errors.h"
#include "pe_image.h"

namespace basic::shell {

namespace {

constexpr uint16_t kNeSignature = 0x454E;
constexpr uint16_t kLeSignature = 0x454C;
constexpr uint64_t kNeTargetOffset = 54;  // from the new header

uint32_t Little(const unsigned char* p, int size) {
  return static_cast<uint32_t>(LittleEndian(p, size));
}

// Checked against the size first, so that a truncated image reports what it
// is rather than a bare stream error.
void ReadAt(platform::ReadOnlyFile& file, uint64_t offset, unsigned char* buffer, size_t count) {
  const uint64_t size = file.Size();
  if (offset > size || size - offset < count) throw RuntimeFault(msg::kReadBeyondEnd);
  file.Seek(offset);
  file.ReadExact(buffer, count);
}

}  // namespace

ExeType GetExeType(const std::string& fileName, int32_t& subsystem) {
  auto file = platform::ReadOnlyFile::Open(fileName);
  return GetExeType(*file, subsystem);
}

ExeType GetExeType(platform::ReadOnlyFile& file, int32_t& subsystem) {
  subsystem = 0;
  unsigned char dos[kDosHeaderSize];
  ReadAt(file, 0, dos, sizeof dos);
  if (Little(dos, 2) != kMzSignature) throw RuntimeFault(msg::kDosSignature);

  // A new header that lies (even partly) past the end makes a plain DOS
  // program: old linkers left garbage in that field.
  const uint64_t newHeader = Little(dos + kNewHeaderOffsetField, 4);
  uint32_t signature = 0;
  if (newHeader <= file.Size() && file.Size() - newHeader >= 4) {
    unsigned char bytes[4];
    ReadAt(file, newHeader, bytes, sizeof bytes);
    signature = Little(bytes, 2);
  }

  switch (signature) {
    case kLeSignature: return etLE;
    case kNeSignature: {
      unsigned char target;
      ReadAt(file, newHeader + kNeTargetOffset, &target, 1);
      if (target == 1) return etOS2;
      if (target == 2) return etWin16;
      return etNE;
    }
    case kPeSignature: break;
    default: return etDos;
  }

  // The magic is not needed: a DLL's file header alone says what it is.
  unsigned char bytes[PeHeader::kFileHeaderEnd];
  ReadAt(file, newHeader, bytes, sizeof bytes);
  const PeHeader pe = PeHeader::Parse(newHeader, bytes, sizeof bytes);
  if ((pe.characteristics & PeHeader::kExecutableImage) == 0)
    throw RuntimeFault(msg::kNotExecutable);
  if ((pe.characteristics & PeHeader::kDll) != 0) return etDll;
  unsigned char optionalHeader[kPe32OptionalHeaderSize];
  ReadAt(file, pe.OptionalHeader(), optionalHeader, sizeof optionalHeader);
  subsystem = static_cast<int32_t>(Little(optionalHeader + kSubsystemOffset, 2));
  return etWin32;
}

}  // namespace basic::shell
