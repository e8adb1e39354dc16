#include "presentation/presentation_probe.h"

namespace kavrin {

TProbeNames<TFilmState> FilmProbeNames() {
  static const TProbeName<TFilmState> kNames[] = {
      {"CurFrame", [](const TFilmState& s) { return ProbeInt(s.CurFrame); }},
      {"FrameCount", [](const TFilmState& s) { return ProbeInt(s.FrameCount); }},
      {"MovieState", [](const TFilmState& s) { return ProbeInt(s.MovieState); }},
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
