#include "str.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

#include "errors.h"
#include "interpreter_limits.h"
#include "invariant.h"

namespace basic {

namespace {

// Blocks of short strings are kept for reuse when freed: building a string a
// character at a time frees one block for every one it takes, and the
// general allocator costs more than the building. Blocks come in classes
// of 16 bytes up to kRecycledBytes, and each class keeps at most
// kRecycledPerClass of them, so little memory is held back.
constexpr size_t kBlockUnit = 16;
constexpr size_t kRecycledBytes = 128;
constexpr size_t kRecycledPerClass = 256;

struct FreeBlock {
  FreeBlock* next;
};

struct RecycledBlocks {
  FreeBlock* first[kRecycledBytes / kBlockUnit + 1] = {};
  size_t count[kRecycledBytes / kBlockUnit + 1] = {};
};
RecycledBlocks recycled;

size_t BlockClass(size_t bytes) { return (bytes + kBlockUnit - 1) / kBlockUnit; }

void* TakeBlock(size_t bytes) {
  const size_t cls = BlockClass(bytes);
  if (cls < std::size(recycled.first) && recycled.first[cls] != nullptr) {
    FreeBlock* block = recycled.first[cls];
    recycled.first[cls] = block->next;
    --recycled.count[cls];
    return block;
  }
  return std::malloc(cls < std::size(recycled.first) ? cls * kBlockUnit : bytes);
}

void GiveBlock(void* block, size_t bytes) {
  const size_t cls = BlockClass(bytes);
  if (cls < std::size(recycled.first) && recycled.count[cls] < kRecycledPerClass) {
    auto* entry = static_cast<FreeBlock*>(block);
    entry->next = recycled.first[cls];
    recycled.first[cls] = entry;
    ++recycled.count[cls];
    return;
  }
  std::free(block);
}

}  // namespace

size_t Str::BlockBytes(size_t capacity) { return offsetof(Rep, data) + capacity + 1; }

void Str::Free(Rep* rep) noexcept { GiveBlock(rep, BlockBytes(rep->capacity)); }

Str::Rep* Str::Allocate(size_t size, size_t capacity) {
  if (size > kMaxStringLength) RaiseRuntime(msg::kOutOfMemory);
  capacity = std::min(std::max(capacity, size), size_t{kMaxStringLength});
  // A recycled block's class may leave room past the bytes asked for.
  const size_t cls = BlockClass(BlockBytes(capacity));
  if (cls < std::size(recycled.first)) capacity = cls * kBlockUnit - BlockBytes(0);
  void* block = TakeBlock(BlockBytes(capacity));
  if (!block) RaiseRuntime(msg::kOutOfMemory);
  Rep* rep = static_cast<Rep*>(block);
  rep->refs = 1;
  rep->size = static_cast<uint32_t>(size);
  rep->capacity = static_cast<uint32_t>(capacity);
  rep->data[size] = '\0';
  return rep;
}

Str::Str(const char* bytes, size_t size) {
  if (size == 0) return;
  rep_ = Allocate(size);
  std::memcpy(rep_->data, bytes, size);
}

Str& Str::operator=(const Str& other) noexcept {
  if (this != &other && rep_ != other.rep_) {
    Rep* old = rep_;
    rep_ = other.rep_;
    Retain();
    if (old && --old->refs == 0) Free(old);
  }
  return *this;
}

void Str::Drop() noexcept {
  BASIC_ASSERT(rep_->refs > 0);
  if (--rep_->refs == 0) Free(rep_);
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

void Str::Append(const Str& tail) {
  if (tail.empty()) return;
  if (empty()) {
    *this = tail;
    return;
  }
  const size_t size = rep_->size;
  const size_t total = size + tail.size();
  if (rep_->refs == 1 && total <= rep_->capacity) {
    std::memcpy(rep_->data + size, tail.data(), tail.size());
    rep_->size = static_cast<uint32_t>(total);
    rep_->data[total] = '\0';
    return;
  }
  // Half as much again as needed: a string built by appending is copied a
  // bounded number of times per byte.
  const size_t room = total <= kMaxStringLength ? std::min(total / 2, kMaxStringLength - total) : 0;
  Rep* grown = Allocate(total, total + room);
  std::memcpy(grown->data, rep_->data, size);
  std::memcpy(grown->data + size, tail.data(), tail.size());
  Release();
  rep_ = grown;
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

void Str::DropHandle(Handle h) noexcept {
  Rep* rep = static_cast<Rep*>(h);
  BASIC_ASSERT(rep == nullptr || rep->refs > 0);
  if (rep && --rep->refs == 0) Free(rep);
}

}  // namespace basic
