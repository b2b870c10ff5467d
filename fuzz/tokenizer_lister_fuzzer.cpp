// Any line tokenizes, lists, and lists the same again after tokenizing its
// own listing: what LIST and SAVE write reads back as the same program.
// One known difference is allowed: a number is computed again from its
// listed digits: fixed form keeps ten decimals, and exponent form reads back
// through repeated multiplication, so the value may change. Such lines must
// still read back as the same tokens, and each number as its listed value.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_machine.h"

namespace {

int32_t Nothing(void*, const basic::ArgWord*, size_t, basic::Str*) { return 0; }

struct Listed {
  std::string text;
  std::vector<int> codes;
  std::vector<double> numbers;
};

Listed List(basic::TBasic& basic, std::string_view text) {
  basic::TokenList tokens;
  basic.Tokenize(text, tokens);
  Listed listed;
  for (const basic::Token* t = tokens.begin(); t != tokens.end(); ++t) {
    listed.codes.push_back(t->code);
    if (t->code == basic::tcNumber) listed.numbers.push_back(t->number);
  }
  basic.ListTokens(tokens.begin(), listed.text);
  return listed;
}

[[noreturn]] void Fail(const char* what, const Listed& first, const Listed& second) {
  std::fprintf(stderr, "%s:\n[%s]\n[%s]\n", what, first.text.c_str(), second.text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  basic::fuzz::FuzzMachine machine({});
  // Registered names list as functions; one is a prefix of another.
  machine.basic.AddMethod("MsgBox", 2, Nothing, nullptr, std::string(1, '\x02'));
  machine.basic.AddMethod("Msg", 2, Nothing, nullptr, std::string(1, '\x02'));
  Listed first;
  try {
    first = List(machine.basic, text);
  } catch (const std::exception&) {
    return 0;  // a line the tokenizer refuses is fine
  }
  Listed second;
  try {
    second = List(machine.basic, first.text);
  } catch (const std::exception& error) {
    // What was accepted once must be accepted from its own listing.
    Fail(error.what(), first, first);
  }
  if (first.codes != second.codes) Fail("tokens differ", first, second);
  if (first.numbers == second.numbers) {
    if (first.text != second.text) Fail("listings differ", first, second);
    return 0;
  }
  for (size_t i = 0; i < first.numbers.size(); ++i) {
    const double a = first.numbers[i], b = second.numbers[i];
    // Ten decimals in fixed form; in exponent form, the reader's own error.
    if (std::fabs(a - b) > std::max(6e-11, 1e-12 * std::fabs(a)))
      Fail("numbers differ", first, second);
  }
  return 0;
}
