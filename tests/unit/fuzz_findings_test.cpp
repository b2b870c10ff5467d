// Faults the fuzz targets found, each kept as the smallest input that showed
// it.
#include <gtest/gtest.h>

#include <string>

#include "appended_program.h"
#include "image_builders.h"
#include "test_support.h"

namespace basic::test {
namespace {

// "A" "B" once listed as "A""B", which reads back as the one string A"B:
// SAVE and LOAD changed what the program printed.
TEST(FuzzFindings, StringsInARowListApartAndLoadBackAsTwo) {
  Machine m;
  TokenList tokens;
  m.basic.Tokenize("PRINT \"A\" \"B\"\"\" \"\"", tokens);
  std::string listed;
  m.basic.ListTokens(tokens.begin(), listed);
  TokenList again;
  m.basic.Tokenize(listed, again);
  std::string relisted;
  m.basic.ListTokens(again.begin(), relisted);
  EXPECT_EQ(relisted, listed);
  ASSERT_EQ(again.end() - again.begin(), tokens.end() - tokens.begin()) << listed;
  EXPECT_EQ(m.Run("PRINT \"A\" \"B\"\"\" \"\"; \"C\""), "AB\"C\r\n");
}

// An ELF section table whose count, kept in entry 0, is zero: the empty
// table was read into a null buffer.
TEST(FuzzFindings, ElfWithAnEmptyExtendedSectionCount) {
  std::string image = MakeElf({.shoff = 0x100, .sections = {}, .extendedCount = true});
  PutLittle(image, 0x100 + 32, 0, 8);  // sh_size of entry 0: the count
  const std::string bound = image + "10 PRINT 1\r\n";
  app::MemoryFile file(bound);
  EXPECT_EQ(app::ReadAppendedProgram(file, app::ImageFormat::kElf), bound.substr(64));
}

}  // namespace
}  // namespace basic::test
