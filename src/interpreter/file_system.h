// Program files as the interpreter sees them (LOAD, MERGE, SAVE, RUN with a
// file name). The platform supplies the real one; tests use one in memory.
#pragma once

#include <string>
#include <string_view>

namespace basic {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file. A failure raises RuntimeFault with FileErrorMessage(code),
  // the code mapped from the system's error onto the classic table.
  virtual std::string ReadFile(const std::string& name) = 0;
  // Replaces the file with bytes, only after they were written completely:
  // on failure the previous file is untouched. Raises like ReadFile.
  virtual void WriteFile(const std::string& name, std::string_view bytes) = 0;
};

// Refuses every file: the interpreter's default until the platform gives it one.
class NoFileSystem : public FileSystem {
 public:
  std::string ReadFile(const std::string& name) override;
  void WriteFile(const std::string& name, std::string_view bytes) override;
};

}  // namespace basic
