#pragma once
// The sound channels, the traction, brake-current and engine tables and the sound curves of a
// train, read in the same passes as its parameters.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/fixed4.h"
#include "data/data_file.h"
#include "data/vehicle_params.h"

namespace kavrin {

inline constexpr const char* kNotchOnDieselError = "動力が気動車なのにNotch指定があります";
inline constexpr const char* kEngineOnElectricError = "動力が電車なのにEngine指定があります";

inline constexpr int kHandleSoundRows = 11;
inline constexpr int kModeStarts = 10;  // mode 0 and nine more
inline constexpr int kBrakeCurrValues = 10;
inline constexpr int kPowerModeRows = 10;
inline constexpr int kSuppressValues = 10;
inline constexpr int kMotorSoundRows = 100;
inline constexpr int kHensokuSoundRows = 100;
// The sound bank holds this many running sounds, so the list keeps no more.
inline constexpr int kDriveSoundRows = 100;

struct TSwitchSoundRow {
  int32_t Channel = 0;
  int32_t BelowSpeed = 0;  // km/h
  int32_t SwitchKind = 0;
};

struct TEngineRateRow {
  int32_t Offset = 0;
  long double Slope = 0;
};

struct TNotchRow {
  long double A0 = 0;  // km/h/s at standstill
  long double A1 = 0;  // km/h/s at V1
  int32_t V1 = 0;      // km/h
  int32_t V2 = 0;      // km/h
  long double X = 0;   // decay above V2
  int32_t Mode = 0;
};

struct TCurrentStep {
  int32_t MinNotch = 0;
  long double Ka = 0;
  long double Kb = 0;  // km/h
  int32_t HoldTicks = 0;
  int32_t StepSound = 0;
};

// "[CurrentP]": the header and the resistance-control steps.
struct TCurrentP {
  int32_t Limit = 0;        // A
  long double Accel = 0;    // km/h/s at the reference current
  long double Speed = 0;    // km/h where constant power begins
  std::vector<TCurrentStep> Rows;
};

struct TCurrentBStep {
  long double Ka = 0;
  long double Kb = 0;  // km/h
  int32_t Third = 0;   // read and kept; nothing uses it
};

struct TEngineRow {
  int32_t S0 = 0, S1 = 0, S2 = 0;      // km/h
  long double F0 = 0, F1 = 0, F2 = 0;  // kgf
};

struct TPowerModeRow {
  std::string Name;   // before the notch number in the power text
  std::string Label;  // the gear text
};

struct MotorSoundData {
  std::string index;
  int32_t kagen = 0;
  long double Speed1 = 0, Speed2 = 0, Speed3 = 0, Speed4 = 0;
  long double Rate1 = 0, Rate2 = 0, Rate3 = 0, Rate4 = 0;
  long double Volume1 = 0, Volume2 = 0, Volume3 = 0, Volume4 = 0;
};

struct HensokuSoundData {
  std::string index;
  int32_t kagen = 0;
  int32_t gear = 0;
  long double StartSpeed = 0, EndSpeed = 0;
  long double StartRate = 0, EndRate = 0;
  long double StartVolume = 0, EndVolume = 0;
};

// Channel numbers of the sound bank unless stated; 0 when the key is absent. Indices taken from
// these tables at run time are checked where they are used.
struct TVehicleTables {
  // Handle clicks: as many rows as Brake (Brake + 1 for "[Sound_BA]") or Power said when the
  // key was read, the rows past the capacity dropped.
  std::array<std::array<int32_t, 2>, kHandleSoundRows> SoundBK{};
  std::array<std::array<int32_t, 2>, kHandleSoundRows> SoundBR{};
  std::array<std::array<int32_t, 2>, kHandleSoundRows> SoundBA{};
  std::array<int32_t, kHandleSoundRows> SoundPA{};
  std::array<int32_t, kHandleSoundRows> SoundPR{};
  std::array<int32_t, kHandleSoundRows> SoundPK{};
  // The rows each of them has (0 when its key is absent): a row past them plays nothing.
  int32_t SoundBKRows = 0, SoundBRRows = 0, SoundBARows = 0;
  int32_t SoundPARows = 0, SoundPRRows = 0, SoundPKRows = 0;

  int32_t SoundEB = 0;
  int32_t SoundEB2 = 0;
  std::array<int32_t, 2> SoundApply{};
  int32_t SoundAts1 = 0, SoundAts2 = 0, SoundAts3 = 0;
  int32_t SoundAtc = 0;
  int32_t SoundHorn = 0, SoundHorn2 = 0, SoundHorn3 = 0;
  std::array<int32_t, 5> Horn4{};
  Fixed4 HornAir{};  // kPa the horn draws from the main reservoir (line 6)
  int32_t SoundDoorOpen = 0, SoundDoorClose = 0;
  std::array<int32_t, 2> SoundHasten{};
  std::string Key4Mode;  // "H" or "B"
  int32_t SoundEBring = 0;
  int32_t SoundSqueak = 0;
  int32_t CPStart = 0, CPCnt = 0, CPEnd = 0;
  int32_t SoundStop = 0;
  int32_t SoundBuzzer = 0;
  int32_t SoundDepSign = 0;
  int32_t SoundATSWarn = 0;

  std::vector<TSwitchSoundRow> SwitchSound;
  int32_t SwitchSoundCount = 0;
  std::vector<TEngineRateRow> EngineRate;  // row g serves Gear g
  int32_t Gear_Type = 0;                   // 0 "AT", 1 "MT"

  // Row n - 1 is power notch n.
  std::vector<TNotchRow> Notch;
  // ModeStart[k]: row of the first notch of power mode k (ModeStart[0] is 0).
  std::array<int32_t, kModeStarts> ModeStart{};
  TCurrentP CurrentP;
  int32_t CurrentPCount = 0;
  // BrakeCurr[k]: the dynamic-brake current of brake position k, from 1 (index 0 unused).
  std::array<int32_t, kBrakeCurrValues + 1> BrakeCurr{};
  std::vector<TCurrentBStep> CurrentB;
  int32_t CurrentBCount = 0;
  std::vector<TEngineRow> Engine;  // row g serves Gear g, row 0 neutral
  int32_t EngineRows = 0;
  std::array<TPowerModeRow, kPowerModeRows> PowerMode{};
  int32_t PowerModeCount = 0;
  // Suppress[k]: suppress step k, from 1 (index 0 unused).
  std::array<int32_t, kSuppressValues + 1> Suppress{};
  int32_t SuppressCount = 0;
  std::array<MotorSoundData, kMotorSoundRows> EngineSound1{};
  int32_t MotorSoundCount = 0;
  std::array<int32_t, 4> EngineSound2{};
  std::array<HensokuSoundData, kHensokuSoundRows> EngineSound3{};
  int32_t HensokuSoundCount = 0;
  std::array<std::string, kDriveSoundRows> DriveSound{};  // file names in the vehicle folder
  int32_t DriveSoundCount = 0;
};

// Tests the sound and table keys, in their order, against file.CurLine. `title` follows the key
// group being read, for the file's error message. Throws ValueError on a value that does not
// convert and LoadError when a table contradicts Engine_Type.
void ReadTableKeys(DataFile& file, const TVehicleParams& veh, TVehicleTables& t, std::string& title);

}  // namespace kavrin
