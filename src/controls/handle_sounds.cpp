#include "controls/handle_sounds.h"

#include <array>
#include <cmath>
#include <optional>

namespace kavrin {

namespace {

using PairTable = std::array<std::array<int32_t, 2>, kHandleSoundRows>;
using SingleTable = std::array<int32_t, kHandleSoundRows>;

// The channel in `column` (1 or 2) of `row`, nothing for a row the table does not have.
std::optional<int> Channel(const PairTable& t, int32_t rows, int32_t row, int column) {
  if (row < 0 || row >= rows || row >= kHandleSoundRows) return std::nullopt;
  return t[static_cast<size_t>(row)][static_cast<size_t>(column - 1)];
}

std::optional<int> Channel(const SingleTable& t, int32_t rows, int32_t row) {
  if (row < 0 || row >= rows || row >= kHandleSoundRows) return std::nullopt;
  return t[static_cast<size_t>(row)];
}

void Restart(SoundBank& bank, std::optional<int> channel) {
  if (channel) RestartChannel(bank, *channel);
}

void RestartUnlessPlaying(SoundBank& bank, std::optional<int> channel) {
  if (channel && bank.GetStatus(*channel) == 0) Restart(bank, channel);
}

bool Silent(SoundBank& bank, std::optional<int> channel) { return !channel || bank.GetStatus(*channel) == 0; }

}  // namespace

void HandleClickSounds(TControls& c) {
  const TVehicleTables& t = c.Tables;
  SoundBank& bank = c.Sound;
  const int32_t brake = c.veh.Brake;
  const int32_t B = c.Handle.BrakeNotch;
  const int32_t L = c.Delayed.LastBrakeNotch;

  // Applying cuts every release and application exhaust still sounding.
  if (L > B && brake >= 1) {
    for (int32_t r = 0; r < brake; ++r) {
      for (auto ch : {Channel(t.SoundBK, t.SoundBKRows, r, 2), Channel(t.SoundBR, t.SoundBRRows, r, 2),
                      Channel(t.SoundBA, t.SoundBARows, r, 2)}) {
        if (ch) bank.Stop(*ch);
      }
    }
  }

  if (c.veh.BrakeType == 0) {
    // The automatic brake's valve: release to running, a release step, an application step.
    if (B == 0 && L < 0) RestartUnlessPlaying(bank, Channel(t.SoundBK, t.SoundBKRows, -L - 1, 2));
    else if (B > L) RestartUnlessPlaying(bank, Channel(t.SoundBR, t.SoundBRRows, -L - 1, 2));
    else if (-brake < B && B < L) RestartUnlessPlaying(bank, Channel(t.SoundBA, t.SoundBARows, -L, 2));
  } else {
    // Numbered brakes: the air of an application (the emergency brake at speed sounds the
    // step it came from), then the handle's own clicks.
    if (B == -brake && B < L && std::fabs(c.Train.Speed) > 15 && Silent(bank, Channel(t.SoundBA, t.SoundBARows, -B, 2))) {
      Restart(bank, Channel(t.SoundBA, t.SoundBARows, -L, 2));
    } else if (-brake <= B && B < L) {
      RestartUnlessPlaying(bank, Channel(t.SoundBA, t.SoundBARows, -B - 1, 2));
    }
    if (-brake <= B && B < L) Restart(bank, Channel(t.SoundBA, t.SoundBARows, -B - 1, 1));
    if (B > L) Restart(bank, Channel(t.SoundBR, t.SoundBRRows, -B, 1));
    if (B == 0 && B > L && c.Train.EmergencyTrip == 0 && c.Train.ATSTrip == 0) {
      Restart(bank, Channel(t.SoundBK, t.SoundBKRows, -L - 1, 1));
    }
  }

  // The power handle against the notch in force.
  const int32_t P = c.Handle.PowerNotch;
  const int32_t A = c.Delayed.AppliedNotch;
  if (P == 0 && A > 0) Restart(bank, Channel(t.SoundPK, t.SoundPKRows, A - 1));
  else if (P > A) Restart(bank, Channel(t.SoundPA, t.SoundPARows, A));
  else if (P < A) Restart(bank, Channel(t.SoundPR, t.SoundPRRows, A - 1));
}

}  // namespace kavrin
