#include "data/mascon_file.h"

#include "core/load_error.h"

namespace kavrin {

TMasconFile ReadMasconFile(DataFile& f) {
  TMasconFile m;
  while (f.ReadLine() && !EndsList(f.CurLine)) {
    if (m.Count < static_cast<int>(m.MasconLines.size())) m.MasconLines[m.Count++] = f.CurLine;
  }
  return m;
}

TMasconFile LoadMasconFile(const std::string& path) {
  auto f = DataFile::Open(path);
  if (!f) throw LoadError(std::string(kMasconFileName) + "が見つかりません");
  return ReadMasconFile(*f);
}

}  // namespace kavrin
