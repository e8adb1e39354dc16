#pragma once
// The film track: which film is showing and which of its frames the cab view shows.
#include <cstdint>

#include "data/route_tables.h"

namespace kavrin {

struct TFilmState {
  int32_t FrameCount = 0;  // last usable frame: film length x FrameCountFactor
  int32_t CurFrame = 0;
  int32_t MovieState = 0;  // 0 the main film, 1 a station insert, 2 a running insert, 9 switching
  // Per "[MovieSwitch]" row: the insert has been shown.
  TRowState<decltype(TRouteTables::MovieSwitches)> done{};
};

// The film as a run starts: the main film at the start station's frame, no insert shown.
void StartFilmTrack(TFilmState& f, int32_t startFrame);

// Moves the film by `frames`, held between its first frame and FrameCount (when the film's
// length is known).
void StepFilmFrames(TFilmState& f, int32_t frames);

}  // namespace kavrin
