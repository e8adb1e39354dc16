#include "demo/data_text.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "core/encoding.h"

namespace kavrin::demo {

DataText& DataText::Line(std::string_view utf8) {
  text_.append(utf8);
  text_.append("\r\n");
  return *this;
}

std::string DataText::Num(long double value, int decimals) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) {
    // "-0.00" reads back fine but looks like a slip; write the plain zero.
    s.erase(0, s.front() == '-' ? 1 : 0);
  }
  return s;
}

std::string DataText::WinPath(std::string_view path) {
  std::string s(path);
  for (char& c : s) {
    if (c == '/') c = '\\';
  }
  return s;
}

std::string DataText::Cp932() const {
  std::string bytes = EncodeCp932(text_);
  if (DecodeDataText(bytes) != text_) {
    throw std::runtime_error("a character of the text has no place in code page 932: " + text_.substr(0, 200));
  }
  return bytes;
}

void DataText::Write(const std::string& path) const { WriteBytes(path, Cp932()); }

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace kavrin::demo
