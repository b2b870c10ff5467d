// The executable image check on small made images: every kind, and the
// truncated and damaged headers that must fail with the right message.
#include "exe_header.h"

#include <gtest/gtest.h>

#include <fstream>

#include "appended_program.h"
#include "errors.h"
#include "image_builders.h"

namespace basic::shell {
namespace {

using test::MakeNewHeader;
using test::MakePeHeaders;

constexpr uint32_t kLfanew = 0x80;
constexpr uint16_t kExecutable = 0x0002, kDll = 0x2000;

std::string Ne(char target) {
  std::string image = MakeNewHeader("NE", 64);
  image[kLfanew + 54] = target;
  return image;
}

struct ExeCase {
  const char* name;
  std::string image;
  ExeType kind;
  int32_t subsystem;
  const char* error = nullptr;  // instead of a kind
};

void PrintTo(const ExeCase& c, std::ostream* os) { *os << c.name; }

class ExeHeader : public testing::TestWithParam<ExeCase> {};

TEST_P(ExeHeader, KindOrError) {
  const ExeCase& c = GetParam();
  app::MemoryFile file(c.image);
  int32_t subsystem = -1;  // must be set on every path
  try {
    EXPECT_EQ(GetExeType(file, subsystem), c.kind);
    EXPECT_EQ(subsystem, c.subsystem);
    EXPECT_EQ(c.error, nullptr);
  } catch (const RuntimeFault& e) { EXPECT_STREQ(e.what(), c.error); }
}

INSTANTIATE_TEST_SUITE_P(
    Images, ExeHeader,
    testing::Values(
        ExeCase{"Console", MakePeHeaders(kExecutable | 0x0100, 3), etWin32, 3},
        ExeCase{"Graphical", MakePeHeaders(kExecutable, 2), etWin32, 2},
        // 64-bit images keep the subsystem at the same offset.
        ExeCase{"Console64", MakePeHeaders(kExecutable | 0x0020, 3, kLfanew, 0x20B), etWin32, 3},
        // A DLL needs no optional header: it is not read.
        ExeCase{"Dll", MakePeHeaders(kExecutable | kDll, 3).substr(0, kLfanew + 24), etDll, 0},
        ExeCase{"Os2", Ne(1), etOS2, 0}, ExeCase{"Win16", Ne(2), etWin16, 0},
        ExeCase{"OtherNe", Ne(4), etNE, 0}, ExeCase{"Le", MakeNewHeader("LE", 4), etLE, 0},
        ExeCase{"UnknownSignature", MakeNewHeader("XY", 4), etDos, 0},
        ExeCase{"NewHeaderPartlyPastEnd", MakeNewHeader("PE", 4).substr(0, kLfanew + 3), etDos, 0},
        ExeCase{"OffsetNearTheTopOfTheRange",
                [] {
                  std::string image = MakeNewHeader("PE", 4);
                  test::PutLittle(image, 60, 0xFFFFFFFEu, 4);
                  return image;
                }(),
                etDos, 0},
        ExeCase{"ShorterThanDosHeader", "MZ" + std::string(61, '\0'), etDos, 0,
                msg::kReadBeyondEnd},
        ExeCase{"NotMz", "ZM" + std::string(62, '\0'), etDos, 0, msg::kDosSignature},
        ExeCase{"ObjectLikePe", MakePeHeaders(kDll, 3), etDos, 0, msg::kNotExecutable},
        ExeCase{"PeOptionalHeaderCut", MakePeHeaders(kExecutable, 3).substr(0, kLfanew + 247),
                etDos, 0, msg::kReadBeyondEnd},
        ExeCase{"NeTargetByteCut", MakeNewHeader("NE", 54), etDos, 0, msg::kReadBeyondEnd}),
    [](const testing::TestParamInfo<ExeCase>& c) { return c.param.name; });

TEST(ExeHeaderFile, ReadByNameOrCannotOpen) {
  test::TempDir dir;
  const std::string path = dir.File("console.exe");
  std::ofstream(path, std::ios::binary) << MakePeHeaders(kExecutable, 3);
  int32_t subsystem = 0;
  EXPECT_EQ(GetExeType(path, subsystem), etWin32);
  EXPECT_EQ(subsystem, 3);
  EXPECT_THROW(GetExeType(dir.File("missing.exe"), subsystem), RuntimeFault);
}

}  // namespace
}  // namespace basic::shell
