#include "data/data_file.h"

#include <fstream>
#include <iterator>

#include "core/encoding.h"
#include "core/numbers.h"
#include "core/text.h"

namespace kavrin {

DataFile::DataFile(std::string_view text) : lines_(SplitLines(text)) {}

std::optional<DataFile> DataFile::Open(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  DataFile file(DecodeDataText(bytes));
  file.path_ = path;
  return file;
}

TLoadPlace DataFile::Place(std::string_view label) const {
  // A text given directly has no file to name; its line is still worth showing.
  return TLoadPlace{path_.empty() ? std::string("-") : path_, next_, std::string(label), CurLine, false};
}

TLoadPlace DataFile::MissingPlace(const std::string& path) { return TLoadPlace{path, 0, {}, {}, true}; }

bool DataFile::ReadLine() {
  if (Eof()) {
    CurLine.clear();
    return false;
  }
  CurLine = lines_[next_++];
  return true;
}

int32_t DataFile::NextInt() {
  ReadLine();
  return ToInt(CurLine);
}

long double DataFile::NextReal() {
  ReadLine();
  return ToReal(CurLine);
}

Fixed4 DataFile::NextFixed() {
  ReadLine();
  return ToFixed(CurLine);
}

const std::string& DataFile::NextText() {
  ReadLine();
  return CurLine;
}

int32_t ToInt(std::string_view text) {
  if (auto v = ParseInt(text)) return *v;
  throw ValueError{};
}

long double ToReal(std::string_view text) {
  if (auto v = ParseReal(text)) return *v;
  throw ValueError{};
}

Fixed4 ToFixed(std::string_view text) {
  if (auto v = ParseFixed(text)) return *v;
  throw ValueError{};
}

int32_t FieldInt(std::string_view line, int n) { return ToInt(CsvField(line, n)); }
long double FieldReal(std::string_view line, int n) { return ToReal(CsvField(line, n)); }
Fixed4 FieldFixed(std::string_view line, int n) { return ToFixed(CsvField(line, n)); }

}  // namespace kavrin
