// The executable image check. Only the headers a program loader would look
// at first are read: the DOS header, the new header's signature, and for NE
// the target system, for PE the characteristics and the subsystem.
#include "exe_header.h"

#include "errors.h"

namespace basic::shell {

namespace {

constexpr uint64_t kDosHeaderSize = 64;
constexpr uint64_t kLfanewOffset = 60;
constexpr uint16_t kMzSignature = 0x5A4D;
constexpr uint16_t kPeSignature = 0x4550;
constexpr uint16_t kNeSignature = 0x454E;
constexpr uint16_t kLeSignature = 0x454C;
constexpr uint64_t kNeTargetOffset = 54;  // from the new header
constexpr uint64_t kPeFileHeaderSize = 20;
constexpr uint64_t kCharacteristicsOffset = 18;  // in the file header
constexpr uint64_t kOptionalHeaderSize = 224;    // the 32-bit form; 64-bit is longer
constexpr uint64_t kSubsystemOffset = 68;        // the same in both forms
constexpr uint16_t kExecutableImage = 0x0002;
constexpr uint16_t kDll = 0x2000;

uint32_t Little(const unsigned char* p, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

// Checked against the size first, so that a truncated image reports what it
// is rather than a bare stream error.
void ReadAt(platform::ReadOnlyFile& file, uint64_t offset, unsigned char* buffer, uint64_t count) {
  const uint64_t size = file.Size();
  if (offset > size || size - offset < count) throw ERuntime(msg::kReadBeyondEnd);
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
  if (Little(dos, 2) != kMzSignature) throw ERuntime(msg::kDosSignature);

  // A new header that lies (even partly) past the end makes a plain DOS
  // program: old linkers left garbage in that field.
  const uint64_t newHeader = Little(dos + kLfanewOffset, 4);
  uint32_t signature = 0;
  if (newHeader <= file.Size() && file.Size() - newHeader >= 4) {
    unsigned char bytes[4];
    ReadAt(file, newHeader, bytes, sizeof bytes);
    signature = Little(bytes, 2);
  }

  switch (signature) {
    case kLeSignature:
      return etLE;
    case kNeSignature: {
      unsigned char target;
      ReadAt(file, newHeader + kNeTargetOffset, &target, 1);
      if (target == 1) return etOS2;
      if (target == 2) return etWin16;
      return etNE;
    }
    case kPeSignature:
      break;
    default:
      return etDos;
  }

  unsigned char fileHeader[kPeFileHeaderSize];
  ReadAt(file, newHeader + 4, fileHeader, sizeof fileHeader);
  const uint32_t characteristics = Little(fileHeader + kCharacteristicsOffset, 2);
  if ((characteristics & kExecutableImage) == 0) throw ERuntime(msg::kNotExecutable);
  if ((characteristics & kDll) != 0) return etDll;
  unsigned char optionalHeader[kOptionalHeaderSize];
  ReadAt(file, newHeader + 4 + kPeFileHeaderSize, optionalHeader, sizeof optionalHeader);
  subsystem = static_cast<int32_t>(Little(optionalHeader + kSubsystemOffset, 2));
  return etWin32;
}

}  // namespace basic::shell
