#pragma once
// The film track: which film is showing, which of its frames the cab view shows, the film's
// stop frames and the inserted films. The frame follows the train's speed; the train stops where
// the film stops (a stop frame, either end of the film), and the run applies that stop.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/route_tables.h"
#include "presentation/film_source.h"

namespace kavrin {

struct TFilmState {
  int32_t FrameCount = 0;  // last usable frame: film length x FrameCountFactor
  int32_t CurFrame = 0;
  int32_t MovieState = 0;  // 0 the main film, 1 a station insert, 2 a running insert, 9 switching
  long double FrameAccu = 0;  // speed x time not yet turned into frames
  int32_t PrevFrame = 0;      // CurFrame at the end of the previous idle pass
  int32_t MovieReverse = 0;   // 1: the stop frames act on backward running
  int32_t SubFrame = 0;       // frame of the insert being shown
  int32_t SwitchStartFrame = 0;
  int32_t SubFrameCount = 0;  // endf of the insert being shown
  int32_t SwitchRow = -1;     // "[MovieSwitch]" row whose insert is showing; -1 none
  // The decoded frame and how many decodes it has seen, so that a painter converts it once per
  // decode rather than once per pass.
  FilmFrame PictureBitmap;
  int64_t PictureSerial = 0;
  // Per "[MovieSwitch]" row: the insert has been shown.
  TRowState<decltype(TRouteTables::MovieSwitches)> done{};
};

// What a film switch and a decode need of the run around them.
class FilmHost {
 public:
  virtual ~FilmHost() = default;
  // One line on the value display's memo.
  virtual void AddMemoLine(std::string_view line) = 0;
  // No 33 ms tick runs between these two; the 33 ms grid starts again at the second.
  virtual void StopPhysics() = 0;
  virtual void StartPhysics() = 0;
  // The route's own film, or an insert by its base name; the result does not matter.
  virtual void OpenMainFilm() = 0;
  virtual void OpenInsert(const std::string& name) = 0;
  // Route sound k, when it exists and is not playing already.
  virtual void PlayRouteSound(int32_t k) = 0;
  // The train is put at a stop position (cm).
  virtual void PutTrainAt(long double position) = 0;
};

// What the film reads of the train and the clock.
struct TFilmInputs {
  long double Speed = 0;  // km/h, signed
  int32_t FilmSpeed = 0;  // km/h of the filming train at CurFrame
  int32_t DispRate = 30;  // 33 ms ticks per second
  int32_t FrameRate = 0;  // frames per second of a station insert
  int32_t ClockTime = 0;
  long double Position = 0;  // cm
};

// How the film stopped the train in a pass.
enum class TFilmStop {
  None,
  StopFrame,  // a stop frame: speed, notches and sounds
  FilmEnd,    // an end of the film: the same, and the gearbox to neutral with the lever at 1
};

// The film as a run starts: the main film at `startFrame`, nothing carried over, no insert shown.
void StartFilmTrack(TFilmState& f, int32_t startFrame);

// Turns the speed of one pass of `dtMs` into frames. At the filming speed the film plays at
// DispRate frames a second; a stretch where the filming train stood is crossed as if filmed at
// 0.5 km/h. What does not make a whole frame is carried to the next pass.
void AdvanceFrame(TFilmState& f, long double speed, int32_t filmSpeed, int32_t dispRate, int dtMs);

// Decodes the frame on show when it differs from `lastFrame` (the frame last decoded).
void DecodePicture(TFilmState& f, int32_t& lastFrame, FilmSource& film, FilmHost& host);

// The ends of the main film: the frame is held inside the film and the train stopped.
TFilmStop CheckFilmEnd(TFilmState& f, long double speed);

// The stop frames the pass reached or crossed (forward normally, backward once MovieReverse is
// set), then PrevFrame follows CurFrame. `speed` is the speed after the end check.
TFilmStop CheckStopFrames(TFilmState& f, const TRouteTables& route, long double speed);

// The idle pass's share: advance, decode, end of film, stop frames, in that order.
TFilmStop FilmIdleStep(TFilmState& f, int32_t& lastFrame, const TRouteTables& route, const TFilmInputs& in,
                       int dtMs, FilmSource& film, FilmHost& host);

// The 33 ms tick's share, after the clock: a station insert counts its own frames at FrameRate
// frames a second; a running insert stays locked to the main film's frame.
void CountInsertFrames(TFilmState& f, const TFilmInputs& in);

// The 100 ms tick's share: begins and ends inserted films.
void SwitchFilms(TFilmState& f, int32_t& lastFrame, const TRouteTables& route, const TFilmInputs& in,
                 FilmSource& film, FilmHost& host);

// Backspace at a standstill: within 200 frames before the first stop frame the film jumps just
// past it, and the stop frames act on backward running from then on.
void MovieJumpPastStop(TFilmState& f, const TRouteTables& route, long double speed);

// Shift+F3: 10 frames before the nearest stop frame ahead; nothing when there is none.
void JumpBeforeNextStop(TFilmState& f, const TRouteTables& route);

// Moves the film by `frames`, held between frame 0 and FrameCount (when the film's length is
// known).
void StepFilmFrames(TFilmState& f, int32_t frames);

// The film's share of a station jump and of a restored state: the main film back (reopened
// when an insert was showing), no insert shown yet, at `frame`, which the next pass decodes.
void ReturnToMainFilm(TFilmState& f, int32_t& lastFrame, int32_t frame, FilmHost& host);

}  // namespace kavrin
