// The name registry: definitions filed under names kept in case-insensitive
// order, and the lookup the tokenizer binds names with.
#include "registry.h"

#include <algorithm>

namespace basic {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

std::string UpperAscii(std::string_view s) {
  std::string upper(s);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void TFuncDefs::Add(std::unique_ptr<TFuncDef> def) {
  // Only the newest identical signature goes: a re-declaration moves to the
  // end, while an older, different definition keeps being the one called.
  for (auto it = defs_.rbegin(); it != defs_.rend(); ++it) {
    if ((*it)->signature == def->signature) {
      defs_.erase(std::next(it).base());
      break;
    }
  }
  defs_.push_back(std::move(def));
}

TInterpreter::~TInterpreter() {
  while (!names_.empty()) names_.pop_back();
  // A vector leaves the order of its elements' destruction open.
  while (!libraries_.empty()) libraries_.pop_back();
}

void TInterpreter::NameRegistered(const std::string&, TFuncDefs*) {}

void TInterpreter::AddDefinition(std::string_view name, uint8_t resultCode, MethodEntry method,
                                 void* libraryEntry, void* instance,
                                 std::string_view parameterCodes) {
  auto def = std::make_unique<TFuncDef>();
  def->signature.reserve(1 + parameterCodes.size());
  def->signature.push_back(static_cast<char>(resultCode & ~kSigLetter));
  for (char c : parameterCodes) {
    auto code = static_cast<uint8_t>(c);
    if (code & kSigByRef) code &= static_cast<uint8_t>(~kSigLetter);
    def->signature.push_back(static_cast<char>(code));
  }
  def->instance = instance;
  def->method = method;
  def->libraryEntry = libraryEntry;

  auto place = std::lower_bound(names_.begin(), names_.end(), name,
                                [](const std::unique_ptr<TFuncDefs>& entry, std::string_view key) {
                                  return CompareNoCase(entry->Name(), key) < 0;
                                });
  if (place != names_.end() && CompareNoCase((*place)->Name(), name) == 0) {
    (*place)->Add(std::move(def));
    return;
  }
  auto defs = std::make_unique<TFuncDefs>(std::string(name));
  defs->Add(std::move(def));
  TFuncDefs* added = defs.get();
  names_.insert(place, std::move(defs));
  NameRegistered(UpperAscii(name), added);
}

void TInterpreter::AddExternal(std::string_view name, uint8_t resultCode,
                               const std::string& entryName, const std::string& libraryName,
                               std::string_view parameterCodes) {
  // Room first: once loaded, a handle must reach its owner without a throw.
  libraries_.reserve(libraries_.size() + 1);
  void* entry = nullptr;
  if (void* handle = external_->OpenLibrary(libraryName)) {
    libraries_.emplace_back(*external_, handle);
    entry = external_->FindExport(handle, entryName);
  }
  AddDefinition(name, resultCode, nullptr, entry, nullptr, parameterCodes);
}

int TInterpreter::FindName(std::string_view word, std::string_view line, size_t& position) const {
  auto place = std::lower_bound(names_.begin(), names_.end(), word,
                                [](const std::unique_ptr<TFuncDefs>& entry, std::string_view key) {
                                  return CompareNoCase(entry->Name(), key) < 0;
                                });
  if (place != names_.end() && CompareNoCase((*place)->Name(), word) == 0)
    return static_cast<int>(place - names_.begin());
  if (position < word.size() || position > line.size()) return -1;

  // Names that begin with the word follow its insertion point. One of them
  // may go on past characters that end a word, such as the "." of ABC.D.
  const size_t start = position - word.size();
  const std::string_view rest = line.substr(start);
  for (auto it = place; it != names_.end(); ++it) {
    const std::string_view entry = (*it)->Name();
    if (entry.size() < word.size() || CompareNoCase(entry.substr(0, word.size()), word) != 0)
      return -1;
    if (entry.size() <= rest.size() && CompareNoCase(rest.substr(0, entry.size()), entry) == 0) {
      position = start + entry.size();
      return static_cast<int>(it - names_.begin());
    }
  }
  return -1;
}

}  // namespace basic
