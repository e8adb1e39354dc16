#pragma once
#include <stdexcept>
#include <string>

namespace kavrin {

// A data file that cannot be loaded. The message is the one the user sees, complete (file kind,
// key group or line); loading stops there.
class LoadError : public std::runtime_error {
 public:
  explicit LoadError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kavrin
