#include "presentation/film_track.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/rounding.h"

namespace kavrin {

namespace {

// Every outright move of the frame moves PrevFrame with it: the stop frames look at the stretch
// between the two, and a stretch that was jumped over was never run through.
void SetFrame(TFilmState& f, int32_t frame) {
  f.CurFrame = frame;
  f.PrevFrame = frame;
}

bool InStopZone(const TRouteTables& route, int32_t station, long double position) {
  const StationData* s = route.Stations.Find(station);
  return s && s->position_s <= position && position <= s->position_e;
}

}  // namespace

void StartFilmTrack(TFilmState& f, int32_t startFrame) {
  SetFrame(f, startFrame);
  f.MovieState = 0;
  f.FrameAccu = 0;
  f.MovieReverse = 0;
  f.SubFrame = 0;
  f.SwitchStartFrame = 0;
  f.SubFrameCount = 0;
  f.SwitchRow = -1;
  f.done.fill(0);
}

void AdvanceFrame(TFilmState& f, long double speed, int32_t filmSpeed, int32_t dispRate, int dtMs) {
  f.FrameAccu += std::fabs(static_cast<long double>(dispRate) * dtMs / 1000.0L * speed);
  if (f.FrameAccu < filmSpeed) return;
  int64_t q;
  if (filmSpeed <= 0) {
    // A standing stretch counts as filmed at 0.5 km/h; the remainder is kept so that the rate
    // does not depend on how often the passes come.
    q = RoundHalfAway(f.FrameAccu / 0.5L);
    f.FrameAccu -= static_cast<long double>(q) * 0.5L;
  } else {
    q = Round(f.FrameAccu) / filmSpeed;
    f.FrameAccu -= static_cast<long double>(q) * filmSpeed;
  }
  const int64_t to = speed > 0 ? int64_t{f.CurFrame} + q : speed < 0 ? int64_t{f.CurFrame} - q : f.CurFrame;
  f.CurFrame = static_cast<int32_t>(std::clamp<int64_t>(to, INT32_MIN, INT32_MAX));
}

void DecodePicture(TFilmState& f, int32_t& lastFrame, FilmSource& film, FilmHost& host) {
  if (f.MovieState > 2 || f.CurFrame < 0) return;
  if (f.MovieState == 0) {
    if (f.CurFrame >= f.FrameCount || f.CurFrame == lastFrame) return;
    char line[16];
    const auto end = std::to_chars(line, line + sizeof line, f.CurFrame).ptr;
    host.AddMemoLine(std::string_view(line, static_cast<size_t>(end - line)));
    if (film.AviFrame(f.CurFrame, f.PictureBitmap)) ++f.PictureSerial;
    lastFrame = f.CurFrame;
  } else if (f.SubFrame != lastFrame) {
    if (film.AviFrame(f.SubFrame, f.PictureBitmap)) ++f.PictureSerial;
    lastFrame = f.SubFrame;
  }
}

TFilmStop CheckFilmEnd(TFilmState& f, long double speed) {
  if (f.MovieState != 0) return TFilmStop::None;
  if (!((speed > 0 && f.CurFrame > f.FrameCount) || (speed < 0 && f.CurFrame < 1))) return TFilmStop::None;
  SetFrame(f, std::max(1, std::min(f.CurFrame, f.FrameCount)));
  f.FrameAccu = 0;
  return TFilmStop::FilmEnd;
}

TFilmStop CheckStopFrames(TFilmState& f, const TRouteTables& route, long double speed) {
  TFilmStop stop = TFilmStop::None;
  if (f.MovieState <= 0) {
    for (int32_t m : route.MovieStops) {
      // Once stopped the speed is 0 and no later stop frame applies in this pass.
      if (f.MovieReverse == 0 && speed > 0 && f.PrevFrame < m && m <= f.CurFrame) {
        f.CurFrame = m;
      } else if (f.MovieReverse == 1 && speed < 0 && f.CurFrame <= m && m < f.PrevFrame) {
        f.CurFrame = m + 1;
      } else {
        continue;
      }
      speed = 0;
      f.FrameAccu = 0;
      stop = TFilmStop::StopFrame;
    }
  }
  f.PrevFrame = f.CurFrame;
  return stop;
}

TFilmStop FilmIdleStep(TFilmState& f, int32_t& lastFrame, const TRouteTables& route, const TFilmInputs& in,
                       int dtMs, FilmSource& film, FilmHost& host) {
  AdvanceFrame(f, in.Speed, in.FilmSpeed, in.DispRate, dtMs);
  DecodePicture(f, lastFrame, film, host);
  const TFilmStop end = CheckFilmEnd(f, in.Speed);
  const TFilmStop stop = CheckStopFrames(f, route, end == TFilmStop::None ? in.Speed : 0.0L);
  return end != TFilmStop::None ? end : stop;
}

void CountInsertFrames(TFilmState& f, const TFilmInputs& in) {
  if (f.MovieState == 1) {
    // A film rate of 0 or above the tick rate would divide by zero: count every tick then.
    const int32_t every = in.FrameRate > 0 ? in.DispRate / in.FrameRate : 0;
    if (every < 1 || in.ClockTime % every == 0) ++f.SubFrame;
  } else if (f.MovieState == 2) {
    f.SubFrame = static_cast<int32_t>(int64_t{f.CurFrame} - f.SwitchStartFrame);
  }
}

void SwitchFilms(TFilmState& f, int32_t& lastFrame, const TRouteTables& route, const TFilmInputs& in,
                 FilmSource& film, FilmHost& host) {
  const bool stopped = Round(in.Speed) == 0;
  for (int32_t i = 0; i < route.MovieSwitches.Count(); ++i) {
    const MovieSwitchData& row = route.MovieSwitches[i];
    // The sound of the station insert on show, not of every row that names that station.
    if (f.MovieState == 1 && f.SwitchRow == i && InStopZone(route, row.next, in.Position) && row.soundf < f.SubFrame &&
        f.SubFrame < row.soundf + 10) {
      host.PlayRouteSound(row.sound);
    }
    if (!(stopped && row.swtype == 2)) {
      if (row.Start <= f.CurFrame && f.CurFrame <= row.Stop && row.swtype < 2) {
        if (f.MovieState == 0 && f.done[static_cast<size_t>(i)] == 0) {
          f.MovieState = 9;
          f.SubFrame = f.CurFrame - row.Start;
          f.SwitchStartFrame = row.Start;
          host.StopPhysics();
          host.OpenInsert(row.name);
          f.SubFrameCount = row.endf;
          if (film.AviFrame(1, f.PictureBitmap)) ++f.PictureSerial;
          host.StartPhysics();
          lastFrame = -1;
          f.SwitchRow = i;
          f.MovieState = 2;
        }
        continue;
      }
      // Only the row that began the insert ends it: another row's `next` may be a station
      // index, and its own insert has not been shown.
      if (f.MovieState == 2 && f.SwitchRow == i && f.SubFrameCount <= f.SubFrame &&
          f.SubFrame <= f.SubFrameCount + 60 && f.CurFrame < row.next) {
        f.MovieState = 9;
        host.StopPhysics();
        host.OpenMainFilm();
        SetFrame(f, row.next);
        f.SubFrame = 0;
        host.StartPhysics();
        lastFrame = -1;
        f.done[static_cast<size_t>(i)] = 1;
        f.SwitchRow = -1;
        f.MovieState = 0;
      }
    }
    if (stopped && row.swtype == 2 && InStopZone(route, row.next, in.Position) && row.time < in.ClockTime) {
      const StationData& station = route.Stations[row.next];
      if (f.MovieState == 0 && f.done[static_cast<size_t>(i)] == 0) {
        host.StopPhysics();
        f.MovieState = 1;
        SetFrame(f, station.Start);
        host.PutTrainAt(station.position);
        f.SubFrame = 0;
        f.SwitchStartFrame = f.CurFrame;
        host.OpenInsert(row.name);
        f.SubFrameCount = row.endf;
        host.StartPhysics();
        lastFrame = -1;
        f.SwitchRow = i;
      }
      // Only the row that began it ends it, or an earlier row of the same station, already
      // shown, would end it and leave its own row to begin it again.
      if (f.MovieState == 1 && f.SwitchRow == i && f.SubFrame >= f.SubFrameCount) {
        host.StopPhysics();
        host.OpenMainFilm();
        f.MovieState = 0;
        f.SubFrame = 0;
        host.StartPhysics();
        lastFrame = -1;
        f.done[static_cast<size_t>(i)] = 1;
        f.SwitchRow = -1;
      }
    }
  }
}

void MovieJumpPastStop(TFilmState& f, const TRouteTables& route, long double speed) {
  if (route.MovieStops.Count() == 0 || std::fabs(speed) >= 0.1L) return;
  const int32_t first = route.MovieStops[0];
  if (int64_t{first} - 200 < f.CurFrame && f.CurFrame <= first) {
    SetFrame(f, first + 2);
    f.MovieReverse = 1;
  }
}

void JumpBeforeNextStop(TFilmState& f, const TRouteTables& route) {
  int64_t nearest = INT64_MAX;
  for (int32_t m : route.MovieStops) {
    if (m > f.CurFrame) nearest = std::min<int64_t>(nearest, m);
  }
  if (nearest != INT64_MAX) SetFrame(f, static_cast<int32_t>(nearest - 10));
}

void StepFilmFrames(TFilmState& f, int32_t frames) {
  int64_t to = std::max<int64_t>(int64_t{f.CurFrame} + frames, 0);
  if (f.FrameCount > 0) to = std::min<int64_t>(to, f.FrameCount);
  SetFrame(f, static_cast<int32_t>(to));
}

void ReturnToMainFilm(TFilmState& f, int32_t& lastFrame, int32_t frame, FilmHost& host) {
  if (f.MovieState > 0) {
    host.StopPhysics();
    host.OpenMainFilm();
    host.StartPhysics();
  }
  f.MovieState = 0;
  f.MovieReverse = 0;
  f.FrameAccu = 0;
  f.SubFrame = 0;
  f.SwitchRow = -1;
  f.done.fill(0);
  SetFrame(f, frame);
  lastFrame = frame - 1;
}

}  // namespace kavrin
