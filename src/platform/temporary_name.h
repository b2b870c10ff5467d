// Names for temporary files that nobody can know beforehand, so that nothing
// can be planted under one of them before the file is created exclusively.
#pragma once

#include <random>
#include <string>

namespace basic::platform {

// How many names to try before giving up on a folder full of collisions.
inline constexpr int kTemporaryNameAttempts = 100;

// folderPrefix, ".basic-", twelve random letters or digits, ".tmp".
inline std::string RandomTemporaryName(const std::string& folderPrefix) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::string name = folderPrefix + ".basic-";
  for (int i = 0; i < 12; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name + ".tmp";
}

}  // namespace basic::platform
