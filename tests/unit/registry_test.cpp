#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry.h"

namespace basic {
namespace {

class RecordingInterpreter : public TInterpreter {
 public:
  void NameRegistered(const std::string& upperName, TFuncDefs* defs) override {
    registered.push_back(upperName);
    registeredDefs.push_back(defs);
  }
  void ProcessText(std::string_view) override {}
  void RunConsole() override {}
  std::vector<std::string> registered;
  std::vector<TFuncDefs*> registeredDefs;
};

int tag1, tag2, tag3;  // instances that tell definitions apart

TEST(Registry, SameSignatureReplacesOtherSignatureAppends) {
  RecordingInterpreter r;
  r.AddMethod("Shell", 0x62, nullptr, &tag1, "A\xC1\x52");
  r.AddMethod("SHELL", 0x22, nullptr, &tag2, "A");
  r.AddMethod("shell", 0x22, nullptr, &tag3, "A\x81\x52");  // the same as tag1's after folding
  ASSERT_EQ(r.NameCount(), 1u);
  const TFuncDefs* defs = r.DefsAt(0);
  EXPECT_EQ(defs->Name(), "Shell");
  ASSERT_EQ(defs->size(), 2u);
  EXPECT_EQ(defs->at(0).instance, &tag2);
  EXPECT_EQ(defs->at(1).instance, &tag3);
  EXPECT_EQ(defs->at(1).signature, "\x22" "A\x81\x52");
  EXPECT_EQ(r.registered, std::vector<std::string>{"SHELL"});
  EXPECT_EQ(r.registeredDefs, std::vector<TFuncDefs*>{r.DefsAt(0)});
}

TEST(Registry, FindNameExactThenLongerNameInTheLine) {
  RecordingInterpreter r;
  for (const char* name : {"ABC.DEF", "XY", "ABC.D", "Shell"}) r.AddMethod(name, 2, nullptr, nullptr, "");
  const struct {
    const char* word;
    const char* line;
    size_t position;
    const char* found;  // nullptr: not found
    size_t after;
  } cases[] = {
      {"shell", "shell", 5, "Shell", 5},
      {"abc", "x=abc.d+1", 5, "ABC.D", 7},
      {"ABC", "ABC.DEF", 3, "ABC.D", 5},  // first in sorted order wins
      {"ABC", "ABC .D", 3, nullptr, 3},
      {"ABC", "ABC.", 3, nullptr, 3},
      {"AB", "AB.DEF", 2, nullptr, 2},
      {"XYZ", "XYZ", 3, nullptr, 3},
  };
  for (const auto& c : cases) {
    size_t position = c.position;
    const int index = r.FindName(c.word, c.line, position);
    EXPECT_EQ(index < 0 ? "" : r.DefsAt(index)->Name(), c.found ? c.found : "") << c.line;
    EXPECT_EQ(position, c.after) << c.line;
  }
}

}  // namespace
}  // namespace basic
