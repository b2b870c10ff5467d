// Str: the interpreter's string value. An immutable byte string shared by
// reference count, so copying a value (a literal into a variable, a variable
// into an expression) never allocates. Bytes 0..255, any length up to
// kMaxStringLength; the bytes are always followed by a NUL for callers that
// need a C string. Not thread-safe: the interpreter is single-threaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace basic {

class Str {
 public:
  Str() noexcept = default;
  Str(const char* bytes, size_t size);
  explicit Str(std::string_view bytes) : Str(bytes.data(), bytes.size()) {}
  Str(const Str& other) noexcept : rep_(other.rep_) { Retain(); }
  Str(Str&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
  Str& operator=(const Str& other) noexcept;
  Str& operator=(Str&& other) noexcept {
    if (this != &other) {
      Release();
      rep_ = other.rep_;
      other.rep_ = nullptr;
    }
    return *this;
  }
  ~Str() { Release(); }

  size_t size() const noexcept { return rep_ ? rep_->size : 0; }
  bool empty() const noexcept { return rep_ == nullptr; }
  // NUL-terminated bytes; "" for the empty string.
  const char* data() const noexcept { return rep_ ? rep_->data : ""; }
  std::string_view view() const noexcept { return {data(), size()}; }
  unsigned char byte(size_t i) const noexcept { return static_cast<unsigned char>(data()[i]); }

  // a + b; raises "Out of memory" when the result would pass kMaxStringLength.
  static Str Concat(const Str& a, const Str& b);
  // *this = *this + tail, in place when this holds the only reference and
  // there is room; the same limit as Concat.
  void Append(const Str& tail);
  // A string of one byte; cached, so CHR$ never allocates.
  static Str OfByte(unsigned char c);

  // Raw handle for storage inside a trivially copyable record (a token's
  // payload). FromHandle adopts one reference; HandleOf hands one out.
  using Handle = void*;
  Handle ReleaseHandle() noexcept {
    Handle h = rep_;
    rep_ = nullptr;
    return h;
  }
  static Str Borrow(Handle h) noexcept {  // new reference to a stored handle
    Str s;
    s.rep_ = static_cast<Rep*>(h);
    s.Retain();
    return s;
  }
  static void DropHandle(Handle h) noexcept;  // gives up a stored reference

  friend bool operator==(const Str& a, const Str& b) noexcept { return a.view() == b.view(); }

 private:
  struct Rep {
    uint32_t refs;
    uint32_t size;
    uint32_t capacity;  // bytes that fit before the NUL; only Append uses more
    char data[1];
  };
  void Retain() noexcept {
    if (rep_) ++rep_->refs;
  }
  // Inline for the common case of a number's value, which holds no string.
  void Release() noexcept {
    if (rep_ != nullptr) Drop();
  }
  void Drop() noexcept;  // rep_ is set
  static size_t BlockBytes(size_t capacity);
  // Room for `capacity` bytes (at least `size`, at most the limit), holding `size`.
  static Rep* Allocate(size_t size, size_t capacity = 0);
  static void Free(Rep* rep) noexcept;

  Rep* rep_ = nullptr;
};

}  // namespace basic
