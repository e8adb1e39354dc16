#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

namespace kavrin {

// Where in the data a load message arose, for the author who has to find it: the message box
// names only the kind of file and the key group, which in a file of thousands of lines is not
// enough.
struct TLoadPlace {
  std::string File;   // the path as opened; empty when the message belongs to no one file
  size_t Line = 0;    // 1-based; 0 when no line of the file is at fault
  std::string Label;  // the key group or error label in force
  std::string Text;   // the line as read
  bool Missing = false;  // the file could not be opened at all
};

// "FILE:LINE: label: text", or "FILEが見つかりません" for a file that is not there; empty
// when the place names no file.
std::string AuthorLine(const TLoadPlace& place);

// A data file that cannot be loaded. The message is the one the user sees, complete (file kind,
// key group or line); loading stops there. The place, when known, is only for authors' tools.
class LoadError : public std::runtime_error {
 public:
  explicit LoadError(const std::string& message) : std::runtime_error(message) {}
  LoadError(const std::string& message, TLoadPlace place)
      : std::runtime_error(message), place_(std::move(place)) {}

  const TLoadPlace& Place() const { return place_; }
  bool HasPlace() const { return !place_.File.empty(); }

 private:
  TLoadPlace place_;
};

}  // namespace kavrin
