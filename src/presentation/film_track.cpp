// The film track: its start and the moves the driver makes it take.
#include "presentation/film_track.h"

#include <algorithm>

namespace kavrin {

void StartFilmTrack(TFilmState& f, int32_t startFrame) {
  f.CurFrame = startFrame;
  f.MovieState = 0;
  f.done.fill(0);
}

void StepFilmFrames(TFilmState& f, int32_t frames) {
  int64_t to = std::max<int64_t>(int64_t{f.CurFrame} + frames, 0);
  if (f.FrameCount > 0) to = std::min<int64_t>(to, f.FrameCount);
  f.CurFrame = static_cast<int32_t>(to);
}

}  // namespace kavrin
