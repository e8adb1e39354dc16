#pragma once
// The line grammar every data file shares. A reader holds the decoded lines and `CurLine`, the
// line read last (key line or value line). Keys are tested against the start of `CurLine` on
// exactly their own length, case-sensitively and without trimming.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed4.h"
#include "core/load_error.h"

namespace kavrin {

class DataFile {
 public:
  DataFile() = default;
  // From text already decoded to UTF-8.
  explicit DataFile(std::string_view text);
  // Reads and decodes a file (Shift-JIS or UTF-8); nothing when it cannot be read.
  static std::optional<DataFile> Open(const std::string& path);

  bool Eof() const { return next_ >= lines_.size(); }
  // Next line into CurLine. At the end of the file CurLine becomes empty and false is returned,
  // so a missing value line fails its conversion like an empty one.
  bool ReadLine();
  // The next line as a value (throw ValueError when it does not convert) or as text.
  int32_t NextInt();
  long double NextReal();
  Fixed4 NextFixed();
  const std::string& NextText();

  // 1-based number of the line in CurLine (0 before the first read).
  size_t LineNumber() const { return next_; }
  // The path it was opened from; empty for text given directly.
  const std::string& Path() const { return path_; }
  // The line read last, under `label`, for a message that arose there.
  TLoadPlace Place(std::string_view label) const;
  // The place of a file that could not be opened.
  static TLoadPlace MissingPlace(const std::string& path);

  std::string CurLine;

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
  std::string path_;
};

inline bool KeyMatches(std::string_view line, std::string_view key) {
  return line.substr(0, key.size()) == key;
}

inline bool EndsList(std::string_view line) { return !line.empty() && line.front() == '#'; }

// Reads the rows of a list up to (and consuming) the line that starts with "#", or to the end of
// the file. Each row is in file.CurLine when `row` is called.
template <typename Row>
void ReadList(DataFile& file, Row&& row) {
  while (file.ReadLine()) {
    if (EndsList(file.CurLine)) return;
    row();
  }
}

// A value line's conversion; the caller turns a failure into its file's message.
struct ValueError {};
int32_t ToInt(std::string_view text);          // throws ValueError
long double ToReal(std::string_view text);     // throws ValueError
Fixed4 ToFixed(std::string_view text);         // throws ValueError
int32_t FieldInt(std::string_view line, int n);
long double FieldReal(std::string_view line, int n);
Fixed4 FieldFixed(std::string_view line, int n);

}  // namespace kavrin
