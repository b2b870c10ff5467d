#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
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
  EXPECT_EQ(defs->at(1).signature,
            "\x22"
            "A\x81\x52");
  EXPECT_EQ(r.registered, std::vector<std::string>{"SHELL"});
  EXPECT_EQ(r.registeredDefs, std::vector<TFuncDefs*>{r.DefsAt(0)});
}

TEST(Registry, FindNameExactThenLongerNameInTheLine) {
  RecordingInterpreter r;
  for (const char* name : {"ABC.DEF", "XY", "ABC.D", "Shell"})
    r.AddMethod(name, 2, nullptr, nullptr, "");
  const struct {
    const char* word;
    const char* line;
    size_t position;
    const char* found;  // nullptr: not found
    size_t after;
  } cases[] = {
      {"shell", "shell", 5, "Shell", 5}, {"abc", "x=abc.d+1", 5, "ABC.D", 7},
      {"ABC", "ABC.DEF", 3, "ABC.D", 5},  // first in sorted order wins
      {"ABC", "ABC .D", 3, nullptr, 3},  {"ABC", "ABC.", 3, nullptr, 3},
      {"AB", "AB.DEF", 2, nullptr, 2},   {"XYZ", "XYZ", 3, nullptr, 3},
  };
  for (const auto& c : cases) {
    size_t position = c.position;
    const int index = r.FindName(c.word, c.line, position);
    EXPECT_EQ(index < 0 ? "" : r.DefsAt(index)->Name(), c.found ? c.found : "") << c.line;
    EXPECT_EQ(position, c.after) << c.line;
  }
}

// Hands out numbered handles (none for "missing") and records each release
// with the number of names its interpreter still had at that moment.
class HandleLedger : public ExternalCode {
 public:
  void* OpenLibrary(const std::string& name) override {
    if (name == "missing") return nullptr;
    return reinterpret_cast<void*>(++loaded);
  }
  void* FindExport(void* library, const std::string& name) override {
    return name == "absent" ? nullptr : library;
  }
  void CloseLibrary(void* library) override {
    freed.emplace_back(reinterpret_cast<intptr_t>(library), owner ? owner->NameCount() : 0);
  }
  int32_t Call(void*, const intptr_t*, size_t) override { return 0; }

  const TInterpreter* owner = nullptr;
  intptr_t loaded = 0;
  std::vector<std::pair<intptr_t, size_t>> freed;  // handle, names left
};

TEST(Registry, LibrariesAreFreedInReverseOrderAfterTheNames) {
  HandleLedger ledger;
  {
    RecordingInterpreter r;
    r.SetExternalCode(ledger);
    ledger.owner = &r;
    r.AddExternal("One", 0x22, "one", "first", "");
    r.AddExternal("Two", 0x22, "two", "missing", "");
    r.AddExternal("Three", 0x22, "absent", "second", "");
    r.AddExternal("One", 0x22, "one", "first", "");  // loaded again: a handle of its own
    ASSERT_EQ(r.NameCount(), 3u);
    EXPECT_EQ(r.DefsAt(0)->First().libraryEntry, reinterpret_cast<void*>(3));  // One, replaced
    EXPECT_FALSE(r.DefsAt(1)->First().Bound());  // Three: export absent
    EXPECT_FALSE(r.DefsAt(2)->First().Bound());  // Two: library missing
    EXPECT_TRUE(ledger.freed.empty());
  }
  const std::vector<std::pair<intptr_t, size_t>> expected = {{3, 0}, {2, 0}, {1, 0}};
  EXPECT_EQ(ledger.freed, expected);
}

TEST(Registry, LibrariesAreFreedWhenConstructionFails) {
  struct FailingInterpreter : RecordingInterpreter {
    explicit FailingInterpreter(ExternalCode& code) {
      SetExternalCode(code);
      AddExternal("F", 0x22, "f", "lib", "");
      throw std::runtime_error("constructor failed");
    }
  };
  HandleLedger ledger;
  EXPECT_THROW(FailingInterpreter{ledger}, std::runtime_error);
  EXPECT_EQ(ledger.freed.size(), 1u);
}

}  // namespace
}  // namespace basic
