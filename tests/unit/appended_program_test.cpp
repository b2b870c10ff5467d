// Finding the program appended to an executable: PE overlays, ELF image ends,
// damaged headers, and the files this build links.
#include "appended_program.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors.h"
#include "image_builders.h"
#include "platform.h"

namespace basic::app {
namespace {

using test::ElfLayout;
using test::ElfSection;
using test::MakeElf;
using test::MakePe;
using test::MakePe64;
using test::PeSection;
using test::PutLittle;

constexpr const char* kProgram = "10 PRINT \"HI\"\r\n20 END\r\n";

std::string ReadFrom(const std::string& image, ImageFormat format) {
  MemoryFile file(image);
  return ReadAppendedProgram(file, format);
}

void ExpectStreamReadError(const std::string& image, ImageFormat format) {
  MemoryFile file(image);
  try {
    ReadAppendedProgram(file, format);
    FAIL() << "no error for a damaged image";
  } catch (const RuntimeFault& e) { EXPECT_STREQ(e.what(), msg::kStreamRead); }
}

// --- PE ----------------------------------------------------------------------

struct PeCase {
  const char* name;
  std::vector<PeSection> sections;
  std::optional<uint64_t> overlay;
};

void PrintTo(const PeCase& c, std::ostream* os) { *os << c.name; }

class PeOverlay : public testing::TestWithParam<PeCase> {};

TEST_P(PeOverlay, FoundFromTheLastSectionWithFileData) {
  const PeCase& c = GetParam();
  for (const std::string& image : {MakePe(c.sections), MakePe64(c.sections)}) {
    MemoryFile file(image);
    EXPECT_EQ(FindPeOverlay(file), c.overlay);

    // Everything from the overlay on is the program; without one there is none.
    std::string bound = image + kProgram;
    std::string expected = c.overlay ? bound.substr(static_cast<size_t>(*c.overlay)) : "";
    EXPECT_EQ(ReadFrom(bound, ImageFormat::kPe), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Images, PeOverlay,
    testing::Values(PeCase{"OneSection", {{0x200, 0x200}}, 0x400},
                    PeCase{
                        "SeveralSections", {{0x200, 0x200}, {0x400, 0x600}, {0xA00, 0x200}}, 0xC00},
                    // An uninitialised-data section at the end of the table has no file
                    // data; the entry before it decides.
                    PeCase{"LastWithoutSize", {{0x200, 0x200}, {0x400, 0x100}, {0x600, 0}}, 0x500},
                    PeCase{"LastWithoutPointer", {{0x200, 0x200}, {0, 0x1000}}, 0x400},
                    // Table order decides, not the file position.
                    PeCase{"EarlierEndsLater", {{0x800, 0x200}, {0x200, 0x100}}, 0x300},
                    PeCase{"NoSectionWithData", {{0, 0x100}, {0x200, 0}}, std::nullopt},
                    PeCase{"NoSections", {}, std::nullopt}),
    [](const testing::TestParamInfo<PeCase>& c) { return c.param.name; });

// A 32-bit image's table always follows 224 bytes of optional header; a
// 64-bit image's follows as many as its file header says.
TEST(PeOverlay, TheOptionalHeaderSizeCountsOnlyIn64BitImages) {
  const std::vector<PeSection> sections = {{0x200, 0x200}, {0x400, 0x100}};
  std::string claims240 = MakePe(sections);
  PutLittle(claims240, 0x80 + 20, 240, 2);
  MemoryFile file32(claims240);
  EXPECT_EQ(FindPeOverlay(file32), 0x500u);

  // The same 64-bit image with a 16-byte longer optional header: the section
  // table moves with it, and the one at the standard place is not read.
  std::string longer = MakePe64(sections);
  longer.insert(0x80 + 24 + 240, 16, '\0');
  PutLittle(longer, 0x80 + 20, 256, 2);
  PutLittle(longer, 0x80 + 24 + 240 + 16, 0xFFFF, 4);  // a decoy at the standard place
  MemoryFile file64(longer);
  EXPECT_EQ(FindPeOverlay(file64), 0x500u);
}

TEST(PeOverlay, NothingAppendedGivesEmptyText) {
  EXPECT_EQ(ReadFrom(MakePe({{0x200, 0x200}}), ImageFormat::kPe), "");
}

TEST(PeOverlay, OverlayPastTheEndGivesEmptyText) {
  std::string image = MakePe({{0x200, 0x200}});
  PutLittle(image, 0x80 + 248 + 16, 0x7FFFFFFF, 4);  // SizeOfRawData far beyond the file
  EXPECT_EQ(ReadFrom(image + kProgram, ImageFormat::kPe), "");
}

TEST(PeOverlay, DamagedHeadersAreStreamReadErrors) {
  const std::string image = MakePe({{0x200, 0x200}, {0x400, 0x200}});
  std::string lfanewPastEnd = image;
  PutLittle(lfanewPastEnd, 60, 0xFFFFFFFF, 4);
  std::string tooManySections = image;
  PutLittle(tooManySections, 0x80 + 6, 60, 2);  // the table would run past the end

  ExpectStreamReadError("", ImageFormat::kPe);
  ExpectStreamReadError(image.substr(0, 63), ImageFormat::kPe);               // DOS header cut
  ExpectStreamReadError(image.substr(0, 0x80 + 247), ImageFormat::kPe);       // PE headers cut
  ExpectStreamReadError(image.substr(0, 0x80 + 248 + 60), ImageFormat::kPe);  // table cut
  ExpectStreamReadError(lfanewPastEnd, ImageFormat::kPe);
  ExpectStreamReadError(tooManySections, ImageFormat::kPe);
}

// --- ELF ---------------------------------------------------------------------

struct ElfCase {
  const char* name;
  ElfLayout layout;
  uint64_t end;
};

void PrintTo(const ElfCase& c, std::ostream* os) { *os << c.name; }

class ElfImageEnd : public testing::TestWithParam<ElfCase> {};

TEST_P(ElfImageEnd, IsTheFurthestPartOfTheImage) {
  const ElfCase& c = GetParam();
  std::string image = MakeElf(c.layout);
  ASSERT_EQ(image.size(), c.end) << "the builder disagrees with the case";
  MemoryFile file(image);
  EXPECT_EQ(FindElfImageEnd(file), c.end);
  EXPECT_EQ(ReadFrom(image + kProgram, ImageFormat::kElf), kProgram);
  EXPECT_EQ(ReadFrom(image, ImageFormat::kElf), "");
}

ElfLayout Elf64(uint64_t phoff, uint16_t phnum, uint64_t shoff, std::vector<ElfSection> sections) {
  ElfLayout layout;
  layout.phoff = phoff;
  layout.phnum = phnum;
  layout.shoff = shoff;
  layout.sections = std::move(sections);
  return layout;
}

ElfLayout Elf32BigEndian(uint64_t shoff, std::vector<ElfSection> sections) {
  ElfLayout layout = Elf64(52, 2, shoff, std::move(sections));
  layout.is64 = false;
  layout.bigEndian = true;
  return layout;
}

ElfLayout ExtendedCount(ElfLayout layout) {
  layout.extendedCount = true;
  return layout;
}

INSTANTIATE_TEST_SUITE_P(
    Images, ElfImageEnd,
    testing::Values(
        // The usual linker layout: section headers last.
        ElfCase{"SectionTableLast", Elf64(64, 4, 0x2000, {{1, 0x1000, 0x800}, {1, 0x1800, 0x100}}),
                0x2000 + 3 * 64},
        ElfCase{"SectionDataLast", Elf64(64, 4, 0x400, {{1, 0x1000, 0x880}}), 0x1880},
        // NOBITS occupies no file space, whatever its offset and size say.
        ElfCase{"NoBitsIgnored", Elf64(64, 2, 0x400, {{1, 0x800, 0x100}, {8, 0x900, 0x100000}}),
                0x900},
        ElfCase{"ProgramHeadersLast", Elf64(0x3000, 3, 0x400, {{1, 0x800, 0x100}}),
                0x3000 + 3 * 56},
        ElfCase{"HeaderOnly", Elf64(0, 0, 0, {}), 64},
        ElfCase{"Elf32BigEndian", Elf32BigEndian(0x600, {{1, 0x100, 0x200}}), 0x600 + 2 * 40},
        ElfCase{"ExtendedSectionCount", ExtendedCount(Elf64(64, 1, 0x200, {{1, 0x400, 0x40}})),
                0x440}),
    [](const testing::TestParamInfo<ElfCase>& c) { return c.param.name; });

TEST(ElfImageEnd, OverflowingOffsetsGiveEmptyTextNotAWrappedEnd) {
  std::string image = MakeElf(Elf64(64, 1, 0x200, {{1, 0x100, 0x40}}));
  // sh_offset + sh_size wraps to a small number if added carelessly.
  PutLittle(image, 0x200 + 64 + 24, ~uint64_t{0} - 15, 8);
  PutLittle(image, 0x200 + 64 + 32, 0x20, 8);
  EXPECT_EQ(ReadFrom(image + kProgram, ImageFormat::kElf), "");
}

TEST(ElfImageEnd, DamagedHeadersAreStreamReadErrors) {
  const std::string image = MakeElf(Elf64(64, 1, 0x200, {{1, 0x100, 0x40}}));
  std::string badClass = image;
  badClass[4] = 7;
  std::string tableCut = image.substr(0, 0x200 + 64 + 10);
  std::string hugeCount = image;
  PutLittle(hugeCount, 60, 0xFFFF, 2);
  std::string tinyEntries = image;
  PutLittle(tinyEntries, 58, 8, 2);  // e_shentsize too small for the fields

  ExpectStreamReadError("", ImageFormat::kElf);
  ExpectStreamReadError(image.substr(0, 40), ImageFormat::kElf);  // header cut
  ExpectStreamReadError(badClass, ImageFormat::kElf);
  ExpectStreamReadError(tableCut, ImageFormat::kElf);
  ExpectStreamReadError(hugeCount, ImageFormat::kElf);
  ExpectStreamReadError(tinyEntries, ImageFormat::kElf);
}

TEST(ImageFormat, DetectedBySignature) {
  EXPECT_EQ(DetectImageFormat(MakePe({{0x200, 0x10}})), ImageFormat::kPe);
  EXPECT_EQ(DetectImageFormat(MakeElf({})), ImageFormat::kElf);
  EXPECT_EQ(DetectImageFormat("10 PRINT 1"), std::nullopt);
  EXPECT_EQ(DetectImageFormat(""), std::nullopt);
}

// --- Real files --------------------------------------------------------------

TEST(AppendedProgramFile, ReadThroughThePlatformFile) {
  test::TempDir dir;
  std::string path = dir.File("bound");
  std::string image = kOwnImageFormat == ImageFormat::kPe ? MakePe({{0x200, 0x200}})
                                                          : MakeElf(Elf64(64, 1, 0x200, {}));
  std::string error;
  ASSERT_TRUE(platform::WriteWholeFile(path, image + kProgram, true, error)) << error;
  auto file = platform::ReadOnlyFile::Open(path);
  EXPECT_EQ(ReadAppendedProgram(*file, kOwnImageFormat), kProgram);
  // A short read of a real file is the same error as of a damaged image.
  file->Seek(file->Size() - 2);
  char buffer[4];
  EXPECT_THROW(file->ReadExact(buffer, sizeof buffer), RuntimeFault);
}

TEST(AppendedProgramFile, MissingFileNamesThePath) {
  test::TempDir dir;
  std::string path = dir.File("missing.exe");
  try {
    platform::ReadOnlyFile::Open(path);
    FAIL() << "opened a missing file";
  } catch (const RuntimeFault& e) { EXPECT_EQ(std::string(e.what()), "Cannot open file " + path); }
}

// The link settings must leave nothing behind the image (Windows: no COFF
// symbol table), or every bound program would start with junk. This test's
// own executable is linked the same way as the stub.
TEST(AppendedProgramFile, ThisBuildsExecutablesEndWithTheirImage) {
  auto self = platform::ReadOnlyFile::Open(platform::ExecutablePath());
  std::optional<uint64_t> start = FindAppendedStart(*self, kOwnImageFormat);
  ASSERT_TRUE(start.has_value());
  EXPECT_EQ(*start, self->Size());
}

}  // namespace
}  // namespace basic::app
