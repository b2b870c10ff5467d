#include "str.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "errors.h"
#include "interpreter_limits.h"

namespace basic {

Str::Rep* Str::Allocate(size_t size) {
  if (size > kMaxStringLength) RaiseRuntime(msg::kOutOfMemory);
  void* block = std::malloc(offsetof(Rep, data) + size + 1);
  if (!block) RaiseRuntime(msg::kOutOfMemory);
  Rep* rep = static_cast<Rep*>(block);
  rep->refs = 1;
  rep->size = static_cast<uint32_t>(size);
  rep->data[size] = '\0';
  return rep;
}

Str::Str(const char* bytes, size_t size) {
  if (size == 0) return;
  rep_ = Allocate(size);
  std::memcpy(rep_->data, bytes, size);
}

Str& Str::operator=(const Str& other) noexcept {
  if (rep_ != other.rep_) {
    Rep* old = rep_;
    rep_ = other.rep_;
    Retain();
    if (old && --old->refs == 0) std::free(old);
  }
  return *this;
}

Str& Str::operator=(Str&& other) noexcept {
  if (this != &other) {
    Release();
    rep_ = other.rep_;
    other.rep_ = nullptr;
  }
  return *this;
}

void Str::Drop() noexcept {
  if (--rep_->refs == 0) std::free(rep_);
  rep_ = nullptr;
}

Str Str::Concat(const Str& a, const Str& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  size_t total = a.size() + b.size();
  Str result;
  result.rep_ = Allocate(total);
  std::memcpy(result.rep_->data, a.data(), a.size());
  std::memcpy(result.rep_->data + a.size(), b.data(), b.size());
  return result;
}

Str Str::OfByte(unsigned char c) {
  static Str* cache = [] {
    static Str table[256];
    for (int i = 0; i < 256; ++i) {
      char ch = static_cast<char>(i);
      table[i] = Str(&ch, 1);
    }
    return table;
  }();
  return cache[c];
}

Str Str::Borrow(Handle h) noexcept {
  Str s;
  s.rep_ = static_cast<Rep*>(h);
  s.Retain();
  return s;
}

void Str::DropHandle(Handle h) noexcept {
  Rep* rep = static_cast<Rep*>(h);
  if (rep && --rep->refs == 0) std::free(rep);
}

}  // namespace basic
