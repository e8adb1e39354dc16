#include "presentation/presentation_probe.h"

namespace kavrin {

TProbeNames<TFilmState> FilmProbeNames() {
  static const TProbeName<TFilmState> kNames[] = {
      {"CurFrame", [](const TFilmState& s) { return ProbeInt(s.CurFrame); }},
      {"FrameCount", [](const TFilmState& s) { return ProbeInt(s.FrameCount); }},
      {"MovieState", [](const TFilmState& s) { return ProbeInt(s.MovieState); }},
      {"FrameAccu", [](const TFilmState& s) { return ProbeValue(s.FrameAccu); }},
      {"PrevFrame", [](const TFilmState& s) { return ProbeInt(s.PrevFrame); }},
      {"MovieReverse", [](const TFilmState& s) { return ProbeInt(s.MovieReverse); }},
      {"SubFrame", [](const TFilmState& s) { return ProbeInt(s.SubFrame); }},
      {"SubFrameCount", [](const TFilmState& s) { return ProbeInt(s.SubFrameCount); }},
      {"SwitchStartFrame", [](const TFilmState& s) { return ProbeInt(s.SwitchStartFrame); }},
  };
  return kNames;
}

TProbeNames<TPanelState> PanelProbeNames() {
  static const TProbeName<TPanelState> kNames[] = {
      {"BrakeHandleAngle", [](const TPanelState& s) { return ProbeValue(s.BrakeHandleAngle); }},
      {"BrakeHandleTarget", [](const TPanelState& s) { return ProbeValue(s.BrakeHandleTarget); }},
      {"VoltmeterValue", [](const TPanelState& s) { return ProbeValue(s.VoltmeterValue); }},
  };
  return kNames;
}

namespace {
int SpriteCount(const TCabView& v) { return v.DXSpriteEngine1.Count(); }
const TSprite& SpriteAt(const TCabView& v, int i) { return v.DXSpriteEngine1.Sprites()[static_cast<size_t>(i)]; }
}  // namespace

// Rows in creation order, as the load's dump lists the sprites.
TProbeNames<TCabView> SpriteProbeNames() {
  static const TProbeName<TCabView> kNames[] = {
      {"SpriteX", nullptr, SpriteCount,
       [](const TCabView& v, int i) { return ProbeValue(static_cast<long double>(SpriteAt(v, i).X)); }},
      {"SpriteY", nullptr, SpriteCount,
       [](const TCabView& v, int i) { return ProbeValue(static_cast<long double>(SpriteAt(v, i).Y)); }},
      {"SpriteAngle", nullptr, SpriteCount,
       [](const TCabView& v, int i) { return ProbeValue(static_cast<long double>(SpriteAt(v, i).Angle)); }},
      {"SpriteVisible", nullptr, SpriteCount, [](const TCabView& v, int i) { return ProbeInt(SpriteAt(v, i).Visible); }},
      {"SpriteCell", nullptr, SpriteCount, [](const TCabView& v, int i) { return ProbeInt(SpriteAt(v, i).AnimStart); }},
      {"SpriteAlpha", nullptr, SpriteCount, [](const TCabView& v, int i) { return ProbeInt(SpriteAt(v, i).Alpha); }},
  };
  return kNames;
}

TProbeNames<TTracksideImages> TracksideProbeNames() {
  static const TProbeName<TTracksideImages> kNames[] = {
      {"SignalOffsetX", [](const TTracksideImages& s) { return ProbeInt(s.SignalOffsetX); }},
      {"SignalOffsetY", [](const TTracksideImages& s) { return ProbeInt(s.SignalOffsetY); }},
  };
  return kNames;
}

}  // namespace kavrin
