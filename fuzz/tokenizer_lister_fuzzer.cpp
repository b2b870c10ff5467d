// Any line tokenizes, lists, and lists the same again after tokenizing its
// own listing: what LIST and SAVE write reads back as the same program.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_machine.h"

namespace {

int32_t Nothing(void*, const basic::ArgWord*, size_t, basic::Str*) { return 0; }

std::string Listing(basic::TBasic& basic, std::string_view text) {
  basic::TokenList tokens;
  basic.Tokenize(text, tokens);
  std::string listed;
  basic.ListTokens(tokens.begin(), listed);
  return listed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  basic::fuzz::FuzzMachine machine({});
  // Registered names list as functions; one is a prefix of another.
  machine.basic.AddMethod("MsgBox", 2, Nothing, nullptr, std::string(1, '\x02'));
  machine.basic.AddMethod("Msg", 2, Nothing, nullptr, std::string(1, '\x02'));
  try {
    const std::string first = Listing(machine.basic, text);
    const std::string second = Listing(machine.basic, first);
    if (first != second) {
      std::fprintf(stderr, "listings differ:\n[%s]\n[%s]\n", first.c_str(), second.c_str());
      std::abort();
    }
  } catch (const std::exception&) {
    // A line the tokenizer refuses is fine; only a crash or a changed
    // listing is a fault.
  }
  return 0;
}
