#pragma once
// Text files as route authors write them on Windows: Shift-JIS, CR LF line ends, backslashes in
// file names. Everything the generator writes for the program to read goes through here, so the
// program reads our data the way it reads theirs.
#include <string>
#include <string_view>

namespace kavrin::demo {

class DataText {
 public:
  DataText& Line(std::string_view utf8 = {});
  // A number the way the files want it: no locale, no grouping, "." as the decimal point.
  static std::string Num(long double value, int decimals);
  // "sound/a.wav" as a Windows author writes it: "sound\a.wav".
  static std::string WinPath(std::string_view path);

  const std::string& Utf8() const { return text_; }
  // The text in code page 932. Throws std::runtime_error when a character has no place there,
  // since "?" in a data file would be a silent fault.
  std::string Cp932() const;
  void Write(const std::string& path) const;

 private:
  std::string text_;
};

// Writes bytes as they are, making the folders on the way. Throws std::runtime_error.
void WriteBytes(const std::string& path, std::string_view bytes);

}  // namespace kavrin::demo
