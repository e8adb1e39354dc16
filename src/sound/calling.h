#pragma once
// The calling voices: the queue of twelve voices played one after another on the calling
// channel, the station and signal calls, the time-difference calls and the driver's calling key.
// A queued voice is a number: a calling voice 0..499, kOtherKanko + k for the sign voice k,
// kLimitKanko + k for the limit-board voice k; kNoVoice marks an empty slot.
#include <array>
#include <cstdint>
#include <functional>

#include "data/route_tables.h"
#include "sound/load_sounds.h"
#include "sound/sound_bank.h"

namespace kavrin {

inline constexpr int32_t kNoVoice = -1;
inline constexpr int32_t kOtherKanko = 1000;
inline constexpr int32_t kLimitKanko = 2000;
inline constexpr int32_t kKankoQueueSize = 12;
inline constexpr int32_t kCrossQueueSize = 11;

struct TCallingState {
  std::array<int32_t, kKankoQueueSize> KankoQueue = [] {
    std::array<int32_t, kKankoQueueSize> q{};
    q.fill(kNoVoice);
    return q;
  }();
  uint8_t QueueBusy = 0;       // a voice is being appended
  uint8_t HeadStarted = 0;     // the voice in slot 0 has been started
  uint8_t ResumeStopLoop = 0;  // restart the stop-approach alarm looping once the queue is empty
  // The marker of the last sign or board called (its voice shifted past every channel), so
  // that the same board is called only once; the overlays clear it when the board changes.
  int32_t LastCalled = -1;
  // Per "[Time]" row: the time has been called.
  TRowState<decltype(TRouteTables::TimeChecks)> TimeCheckDone{};
};

inline void StartCalling(TCallingState& s) { s = TCallingState{}; }
// The station jump empties the queue.
void ClearKankoQueue(TCallingState& s);

// What the calls read of the signals, the overlays and the run. The signal and overlay values
// stay at their none values (999, 0, -1) until their owners fill them.
struct TCallingInputs {
  long double Speed = 0;  // km/h, signed
  int32_t ClockTime = 0;
  int32_t CurFrame = 0;
  int32_t CurSignalIndex = 999;
  int32_t CurSignalPicture = 999;
  int32_t CurSignalAspectField = 999;
  int32_t SignShown = 999;
  int32_t LimitBlink = 0;
  int32_t ReleaseShown = 0;
  int32_t LimitVoice = 0;
  bool CrossLamp2Visible = false;
  // The crossings ahead (kCrossQueueSize entries, -1 empty) and the head the lamps show; the
  // calling key takes a called crossing off. None: no crossing in view.
  int32_t* CrossQueue = nullptr;
  int32_t* CrossShown = nullptr;
  // A station call of 999 presses the Enter key (no shift) as the keyboard would.
  const std::function<void()>* PressEnter = nullptr;
};

// Everything a call works on.
struct TCalling {
  TCallingState& s;
  const TSoundState& sounds;
  const TRouteTables& route;
  const TCallingInputs& in;
};

// Appends a voice; a full queue, or a voice the route has no wave for, drops it.
void kanko_queue_add(TCallingState& s, const TSoundState& sounds, int32_t voice);

enum class KankoPlay { Done, PlayError };
// One step of the player. `callsOff`: "喚呼なし" is checked and voices are consumed unheard.
// PlayError: the bank would not take the head's wave ("喚呼の再生エラー" is then shown).
KankoPlay kanko_queue_play(TCallingState& s, const TSoundState& sounds, SoundBank& bank, bool callsOff,
                           int32_t stopChannel);
inline constexpr const char* kKankoPlayError = "喚呼の再生エラー";

// Calls the difference between the clock and `yotei` (1/30 s); `typ` 0 or 1 picks the words.
void Timekanko(TCalling& c, int32_t yotei, int32_t typ);
// With t = 0: the time of every "[Time]" row whose window holds the current frame.
void Timecheck(TCalling& c, int32_t t);
// The calls tied to the signal in view; index 1 or 2.
void kanko_add(TCalling& c, int32_t index);
// The calls of station event `event` (0 .. 5) for `station`, the next stopping station.
void StationCall(TCalling& c, int32_t event, int32_t station);
// The driver's calling key: the first of sign, limit board, release board, crossing and signal
// that applies.
void CallingKey(TCalling& c);

}  // namespace kavrin
