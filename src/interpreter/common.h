// COMMON: variables shared with other programs through the environment. A
// COMMON name takes its value from the environment when declared, and
// ExportCommon writes the current values into a child's environment.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "values.h"

namespace basic {

class CommonBlock {
 public:
  // The process environment the interpreter starts with, name=value.
  void SetEnvironment(std::vector<std::string> entries) { environment = std::move(entries); }
  const std::vector<std::string>& Environment() const { return environment; }
  const std::vector<std::string>& Names() const { return commonNames; }
  // COMMON v: the name is shared from now on; v takes its value from the
  // environment (0 or empty when it has none).
  void Declare(varrec& v);
  // The current values of the shared names, written into name=value entries.
  void ExportCommon(const VariableList& variables, std::vector<std::string>& target) const;

 private:
  void ImportCommon(varrec& v) const;

  std::vector<std::string> commonNames;  // upper case, sorted
  std::vector<std::string> environment;
};

}  // namespace basic
