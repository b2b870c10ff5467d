#include "tokens.h"

#include <cstring>

namespace basic {

const char* const KeywordText[kTokenCodeCount] = {
#define BASIC_TOKEN_TEXT(name, text, handler) text,
    BASIC_TOKENS(BASIC_TOKEN_TEXT)
#undef BASIC_TOKEN_TEXT
};

std::string_view FirstForm(TokenCode code) {
  std::string_view entry = KeywordText[code];
  return entry.substr(0, entry.find('\x01'));
}

TokenList::TokenList(std::vector<Token>& scratch) : count_(scratch.size()) {
  if (count_ > 0) {
    tokens_ = std::make_unique_for_overwrite<Token[]>(count_ + 1);
    std::memcpy(static_cast<void*>(tokens_.get()), scratch.data(), count_ * sizeof(Token));
    tokens_[count_].code = tcEol;
    tokens_[count_].number = 0;
  }
  scratch.clear();
}

TokenList::TokenList(TokenList&& other) noexcept
    : tokens_(std::move(other.tokens_)), count_(other.count_) {
  other.count_ = 0;
}

TokenList& TokenList::operator=(TokenList&& other) noexcept {
  if (this != &other) {
    FreeTokens();
    tokens_ = std::move(other.tokens_);
    count_ = other.count_;
    other.count_ = 0;
  }
  return *this;
}

void TokenList::FreeTokens() noexcept {
  for (size_t i = 0; i < count_; ++i)
    if (OwnsText(tokens_[i].code)) Str::DropHandle(tokens_[i].text);
  tokens_.reset();
  count_ = 0;
}

}  // namespace basic
