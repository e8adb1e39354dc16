#include "data/string_file.h"

#include "core/load_error.h"

namespace kavrin {

namespace {

void ReadText(DataFile& f, std::string& out) { out = f.NextText(); }

template <size_t N>
void ReadTexts(DataFile& f, std::array<std::string, N>& out) {
  for (auto& s : out) ReadText(f, s);
}

}  // namespace

TStringFile ReadStringFile(DataFile& f) {
  TStringFile s;
  try {
    while (f.ReadLine()) {
      // A reference on purpose: after a key has read its values, the remaining keys are tested
      // against the last value line, as every reader of these files has always done.
      const std::string& line = f.CurLine;
      if (KeyMatches(line, "[Disp]")) {
        f.ReadLine();
        s.DispRate = FieldReal(f.CurLine, 1);
        s.FrameCountFactor = FieldReal(f.CurLine, 2);
        f.ReadLine();
        s.OverlayLeft = ToInt(f.CurLine);
        f.ReadLine();
        s.ScreenWidth = ToInt(f.CurLine);
        f.ReadLine();
        s.ScreenHeight = ToInt(f.CurLine);
        f.ReadLine();
      }
      if (KeyMatches(line, "[Path]")) ReadText(f, s.MoviePath);
      if (KeyMatches(line, "[Forward]")) ReadText(f, s.TxtForward);
      if (KeyMatches(line, "[Neutral]")) ReadText(f, s.TxtNeutral);
      if (KeyMatches(line, "[Reverse]")) ReadText(f, s.TxtReverse);
      if (KeyMatches(line, "[Stop]")) ReadText(f, s.TxtStop);
      if (KeyMatches(line, "[Pass]")) ReadText(f, s.TxtPass);
      if (KeyMatches(line, "[Stop2]")) ReadText(f, s.TxtStop2);
      if (KeyMatches(line, "[Neut]")) ReadText(f, s.TxtNeut);
      if (KeyMatches(line, "[Neut2]")) ReadText(f, s.TxtNeut2);
      if (KeyMatches(line, "[Apply]")) ReadText(f, s.TxtApply);
      if (KeyMatches(line, "[Maintain]")) ReadText(f, s.TxtMaintain);
      if (KeyMatches(line, "[Remove]")) ReadText(f, s.TxtRemove);
      if (KeyMatches(line, "[Hold]")) ReadText(f, s.TxtHold);
      if (KeyMatches(line, "[Hold2]")) ReadText(f, s.TxtHold2);
      if (KeyMatches(line, "[EB]")) ReadText(f, s.TxtEB);
      if (KeyMatches(line, "[Const]")) ReadText(f, s.TxtConst);
      if (KeyMatches(line, "[Cars]")) ReadText(f, s.TxtCars);
      if (KeyMatches(line, "[TC]")) ReadText(f, s.TxtTC);
      if (KeyMatches(line, "[Stops]")) ReadTexts(f, s.TxtStops);
      if (KeyMatches(line, "[Doors]")) ReadTexts(f, s.TxtDoors);
      if (KeyMatches(line, "[Gears]")) ReadTexts(f, s.TxtGears);
      if (KeyMatches(line, "[InfoLabel]")) {
        size_t n = 0;
        s.InfoLabels = {};
        ReadList(f, [&] {
          if (n < s.InfoLabels.size()) s.InfoLabels[n++] = f.CurLine;
        });
      }
      if (KeyMatches(line, "[Start]")) ReadText(f, s.StartCaption);
      if (KeyMatches(line, "[Move]")) ReadText(f, s.MoveCaption);
      if (KeyMatches(line, "[Display]")) ReadText(f, s.DisplayCaption);
      if (KeyMatches(line, "[Control]")) ReadText(f, s.ControlCaption);
      if (KeyMatches(line, "[Save]")) ReadText(f, s.SaveCaption);
    }
  } catch (const ValueError&) {
    throw LoadError(kStringFileError, f.Place({}));
  }
  return s;
}

TStringFile LoadStringFile(const std::string& path) {
  auto f = DataFile::Open(path);
  if (!f) throw LoadError(kStringFileError, DataFile::MissingPlace(path));
  return ReadStringFile(*f);
}

}  // namespace kavrin
