#include "sound/calling.h"

#include <cstdlib>

#include "core/rounding.h"

namespace kavrin {

namespace {

const WavePtr* VoiceWave(const TSoundState& sounds, int32_t voice) {
  auto in = [](const std::vector<WavePtr>& list, int32_t k) {
    return k >= 0 && k < static_cast<int32_t>(list.size()) && list[static_cast<size_t>(k)] ? &list[static_cast<size_t>(k)]
                                                                                             : nullptr;
  };
  if (voice >= kLimitKanko) return in(sounds.LimitKankoWaves, voice - kLimitKanko);
  if (voice >= kOtherKanko) return in(sounds.OtherKankoWaves, voice - kOtherKanko);
  return in(sounds.KankoVoices, voice);
}

void Queue(TCalling& c, int32_t voice) { kanko_queue_add(c.s, c.sounds, voice); }

// The shift that turns a sign or board voice into its marker.
int32_t MarkerShift(const TCalling& c) {
  return c.sounds.Layout.DriveSoundCount + c.sounds.Layout.SoundDataCount + c.route.KankoCount();
}

bool StopIndication(int32_t p) {
  switch (p) {
    case 1: case 7: case 10: case 13: case 17: case 21: case 26: case 30: return true;
    default: return false;
  }
}

// The calling voice of a signal picture; -1 for a picture without one.
int32_t SignalPictureVoice(int32_t p) {
  switch (p) {
    case 1: case 7: case 10: case 13: case 17: case 21: case 26: case 30: case 35: return 0;
    case 18: case 22: case 36: return 1;
    case 4: case 8: case 11: case 14: case 19: case 23: case 27: case 31: case 37: return 2;
    case 5: case 15: case 24: case 38: return 3;
    case 3: case 6: case 9: case 12: case 16: case 20: case 25: case 28: case 33: case 39: return 4;
    case 2: case 40: return 5;
    case 41: return 6;
    case 42: return 7;
    case 29: case 34: return 21;
    default: return -1;
  }
}

// A station calling row's value: a time of day to call against, the Enter key, or a voice.
void StationValue(TCalling& c, int32_t value) {
  if (value > 999) {
    Timekanko(c, value, 0);
  } else if (value == 999) {
    if (c.in.PressEnter && *c.in.PressEnter) (*c.in.PressEnter)();
  } else {
    Queue(c, value);
  }
}

}  // namespace

void ClearKankoQueue(TCallingState& s) {
  s.KankoQueue.fill(kNoVoice);
  s.HeadStarted = 0;
  s.QueueBusy = 0;
}

void kanko_queue_add(TCallingState& s, const TSoundState& sounds, int32_t voice) {
  if (!VoiceWave(sounds, voice)) return;
  s.QueueBusy = 1;
  for (int32_t& slot : s.KankoQueue) {
    if (slot == kNoVoice) {
      slot = voice;
      break;
    }
  }
  s.QueueBusy = 0;
}

KankoPlay kanko_queue_play(TCallingState& s, const TSoundState& sounds, SoundBank& bank, bool callsOff,
                           int32_t stopChannel) {
  if (s.QueueBusy) return KankoPlay::Done;
  const int channel = sounds.Layout.KankoChannel();
  if (bank.GetStatus(channel) != 0) return KankoPlay::Done;
  if (s.HeadStarted) {
    for (int32_t i = 0; i + 1 < kKankoQueueSize; ++i) s.KankoQueue[static_cast<size_t>(i)] = s.KankoQueue[static_cast<size_t>(i + 1)];
    s.KankoQueue[kKankoQueueSize - 1] = kNoVoice;
    s.HeadStarted = 0;
  }
  if (s.KankoQueue[0] == kNoVoice) {
    if (s.ResumeStopLoop) {
      bank.Stop(stopChannel);
      bank.LoopPlay(stopChannel);
      s.ResumeStopLoop = 0;
    }
    return KankoPlay::Done;
  }
  // With the calls off the voice is consumed without touching the channel.
  if (!callsOff) {
    const WavePtr* wave = VoiceWave(sounds, s.KankoQueue[0]);
    if (wave) bank.SetWaveData(channel, *wave);
    if (!wave || !bank.HasWaveData(channel)) return KankoPlay::PlayError;
    bank.Play(channel);
  }
  s.HeadStarted = 1;
  return KankoPlay::Done;
}

void Timekanko(TCalling& c, int32_t yotei, int32_t typ) {
  const int64_t d = std::llabs(static_cast<int64_t>(c.in.ClockTime) - yotei);
  if (d <= 450) {
    Queue(c, typ == 0 ? 17 : 18);
    return;
  }
  if (d > 3600) return;
  // Steps of 15 s: (450, 900] is voice 6 up to (3150, 3600] voice 12.
  Queue(c, 6 + static_cast<int32_t>((d - 451) / 450));
  if (yotei < c.in.ClockTime) Queue(c, typ == 0 ? 13 : 14);
  else Queue(c, typ == 0 ? 15 : 16);
}

void Timecheck(TCalling& c, int32_t t) {
  if (t != 0) return;
  for (const TTimeRec& row : c.route.TimeChecks) {
    if (row.FromFrame < c.in.CurFrame && c.in.CurFrame < row.ToFrame) Timekanko(c, row.Time, 1);
  }
}

void kanko_add(TCalling& c, int32_t index) {
  if (c.in.CurSignalIndex == 999) return;
  for (const TSignalKankoRec& row : c.route.SignalKankos) {
    if (row.Signal != c.in.CurSignalIndex) continue;
    if (index == 1) {
      if (row.Type == 0) Queue(c, row.Value);
    } else if (index == 2) {
      if (row.Type == 2) {
        if (StopIndication(c.in.CurSignalPicture) && row.Flag == 1) return;
        Queue(c, row.Value);
      } else if (row.Type == 1) {
        if (row.Value > 998) Timekanko(c, row.Value, 0);
        else Queue(c, row.Value);
      }
    }
  }
}

void StationCall(TCalling& c, int32_t event, int32_t station) {
  int32_t rows = -1;
  switch (event) {
    case 0:
      for (const TStationKankoRec& row : c.route.StationKankos) {
        if (row.Station == station && row.Event == 4) Queue(c, row.Value);
      }
      return;
    case 1: rows = 0; break;
    case 2: rows = 1; break;
    case 3: rows = 2; break;
    case 5: rows = 5; break;
    case 4:
      Queue(c, 20);
      rows = 3;
      break;
    default: return;
  }
  for (const TStationKankoRec& row : c.route.StationKankos) {
    if (row.Station == station && row.Event == rows) StationValue(c, row.Value);
  }
}

void CallingKey(TCalling& c) {
  const TCallingInputs& in = c.in;
  const int32_t shift = MarkerShift(c);
  const bool moving = Round(in.Speed) != 0;

  if (in.SignShown != 999 && (VoiceWave(c.sounds, kOtherKanko + in.SignShown) || in.SignShown == 900) &&
      in.SignShown + shift != c.s.LastCalled) {
    if (in.SignShown == 900) Timecheck(c, 0);
    else Queue(c, kOtherKanko + in.SignShown);
    c.s.LastCalled = in.SignShown + shift;
    return;
  }
  const bool board = (in.LimitBlink == 1 || in.ReleaseShown == 1) && in.SignShown == 999 && moving &&
                     in.LimitVoice + shift != c.s.LastCalled;
  if (board) {
    Queue(c, kLimitKanko + in.LimitVoice);
    c.s.LastCalled = in.LimitVoice + shift;
    return;
  }
  if (in.CrossShown && *in.CrossShown != -1 && Round(in.Speed) > 0 && !in.CrossLamp2Visible) {
    int32_t* q = in.CrossQueue;
    if (q && q[0] != -1) {
      if (const TCrossRec* row = c.route.Crosses.Find(q[0])) Queue(c, row->Voice);
      for (int32_t i = 0; i + 1 < kCrossQueueSize; ++i) q[i] = q[i + 1];
      q[kCrossQueueSize - 1] = -1;
      if (q[0] == -1) *in.CrossShown = -1;
    }
    return;
  }
  if (in.CurSignalPicture != 999) {
    for (int32_t e = kFirstKanko2; e < c.route.KankoCount(); ++e) {
      if (c.route.KankoSound2[e].name != in.CurSignalAspectField) continue;
      kanko_add(c, 1);
      Queue(c, e);
    }
  }
  const int32_t voice = SignalPictureVoice(in.CurSignalPicture);
  if (voice >= 0) Queue(c, voice);
  kanko_add(c, 2);
}

}  // namespace kavrin
