#include "data/vehicle_tables.h"

#include <algorithm>

#include "core/load_error.h"
#include "core/text.h"

namespace kavrin {

namespace {

// Rows whose number comes from the handle as it stands, not from a "#" line.
template <size_t N>
void ReadPairRows(DataFile& f, int64_t rows, std::array<std::array<int32_t, 2>, N>& table, int32_t& count) {
  count = static_cast<int32_t>(std::clamp<int64_t>(rows, 0, N));
  for (int64_t i = 0; i < rows; ++i) {
    f.ReadLine();
    std::array<int32_t, 2> row{FieldInt(f.CurLine, 1), FieldInt(f.CurLine, 2)};
    if (static_cast<size_t>(i) < N) table[static_cast<size_t>(i)] = row;
  }
}

template <size_t N>
void ReadSingleRows(DataFile& f, int64_t rows, std::array<int32_t, N>& table, int32_t& count) {
  count = static_cast<int32_t>(std::clamp<int64_t>(rows, 0, N));
  for (int64_t i = 0; i < rows; ++i) {
    f.ReadLine();
    int32_t value = FieldInt(f.CurLine, 1);
    if (static_cast<size_t>(i) < N) table[static_cast<size_t>(i)] = value;
  }
}

// A list of one integer per line, stored from index 1 up to the capacity.
template <size_t N>
void ReadOneBasedList(DataFile& f, std::array<int32_t, N>& table, int32_t& count) {
  table = {};
  count = 0;
  ReadList(f, [&] {
    int32_t value = ToInt(f.CurLine);
    if (static_cast<size_t>(count) + 1 < N) table[static_cast<size_t>(++count)] = value;
  });
}

void ReadNotch(DataFile& f, TVehicleTables& t) {
  t.Notch.clear();
  t.ModeStart = {};
  int32_t mode = 0;
  ReadList(f, [&] {
    TNotchRow r;
    r.A0 = ToReal(f.CurLine);
    r.A1 = f.NextReal();
    r.V1 = f.NextInt();
    r.V2 = f.NextInt();
    r.X = f.NextReal();
    r.Mode = f.NextInt();
    // Rows of one mode are contiguous, so a row whose mode differs from the counter opens the
    // next mode.
    if (r.Mode != mode) {
      ++mode;
      if (mode < kModeStarts) t.ModeStart[static_cast<size_t>(mode)] = static_cast<int32_t>(t.Notch.size());
    }
    t.Notch.push_back(r);
  });
}

void ReadCurrentP(DataFile& f, TVehicleTables& t) {
  t.CurrentP.Limit = f.NextInt();
  t.CurrentP.Accel = f.NextReal();
  t.CurrentP.Speed = f.NextReal();
  t.CurrentP.Rows.clear();
  ReadList(f, [&] {
    const std::string& l = f.CurLine;
    t.CurrentP.Rows.push_back({FieldInt(l, 1), FieldReal(l, 2), FieldReal(l, 3), FieldInt(l, 4), FieldInt(l, 5)});
  });
  t.CurrentPCount = static_cast<int32_t>(t.CurrentP.Rows.size());
}

void ReadEngine(DataFile& f, TVehicleTables& t) {
  t.Engine.clear();
  ReadList(f, [&] {
    TEngineRow r;
    r.S0 = ToInt(f.CurLine);
    r.S1 = f.NextInt();
    r.S2 = f.NextInt();
    r.F0 = f.NextReal();
    r.F1 = f.NextReal();
    r.F2 = f.NextReal();
    t.Engine.push_back(r);
  });
  t.EngineRows = static_cast<int32_t>(t.Engine.size());
}

void ReadPowerMode(DataFile& f, TVehicleTables& t) {
  t.PowerMode = {};
  t.PowerModeCount = 0;
  ReadList(f, [&] {
    const std::string& l = f.CurLine;
    // Both texts are shown; a row without its second field is a broken row, not a label
    // reading "Error".
    if (l.find(',') == std::string::npos) throw ValueError{};
    TPowerModeRow r{CsvField(l, 1), CsvField(l, 2)};
    if (t.PowerModeCount < kPowerModeRows) t.PowerMode[static_cast<size_t>(t.PowerModeCount++)] = std::move(r);
  });
}

void ReadMotorSounds(DataFile& f, TVehicleTables& t) {
  t.EngineSound1 = {};
  t.MotorSoundCount = 0;
  ReadList(f, [&] {
    MotorSoundData d;
    d.index = f.CurLine;
    d.kagen = f.NextInt();
    for (long double* v : {&d.Speed1, &d.Speed2, &d.Speed3, &d.Speed4, &d.Rate1, &d.Rate2, &d.Rate3, &d.Rate4,
                           &d.Volume1, &d.Volume2, &d.Volume3, &d.Volume4})
      *v = f.NextReal();
    if (t.MotorSoundCount < kMotorSoundRows) t.EngineSound1[static_cast<size_t>(t.MotorSoundCount++)] = std::move(d);
  });
}

void ReadGearSounds(DataFile& f, TVehicleTables& t) {
  t.EngineSound3 = {};
  t.HensokuSoundCount = 0;
  ReadList(f, [&] {
    HensokuSoundData d;
    d.index = f.CurLine;
    d.kagen = f.NextInt();
    d.gear = f.NextInt();
    for (long double* v : {&d.StartSpeed, &d.EndSpeed, &d.StartRate, &d.EndRate, &d.StartVolume, &d.EndVolume})
      *v = f.NextReal();
    if (t.HensokuSoundCount < kHensokuSoundRows)
      t.EngineSound3[static_cast<size_t>(t.HensokuSoundCount++)] = std::move(d);
  });
}

}  // namespace

void ReadTableKeys(DataFile& f, const TVehicleParams& veh, TVehicleTables& t, std::string& title) {
  // A reference on purpose: once a key has read its values, the later keys are tested against
  // the last value line.
  const std::string& line = f.CurLine;
  struct IntKey {
    const char* key;
    int32_t TVehicleTables::*field;
  };
  auto ints = [&](std::initializer_list<IntKey> keys) {
    for (const IntKey& k : keys)
      if (KeyMatches(line, k.key)) t.*k.field = f.NextInt();
  };
  auto twoInts = [&](const char* key, std::array<int32_t, 2>& out) {
    if (!KeyMatches(line, key)) return;
    out[0] = f.NextInt();
    out[1] = f.NextInt();
  };

  // The handle tables take Brake and Power as read so far in the file.
  if (KeyMatches(line, "[Sound_BK]")) ReadPairRows(f, veh.Brake, t.SoundBK, t.SoundBKRows);
  if (KeyMatches(line, "[Sound_BR]")) ReadPairRows(f, veh.Brake, t.SoundBR, t.SoundBRRows);
  if (KeyMatches(line, "[Sound_BA]")) ReadPairRows(f, int64_t{veh.Brake} + 1, t.SoundBA, t.SoundBARows);
  if (KeyMatches(line, "[Sound_PA]")) ReadSingleRows(f, veh.Power, t.SoundPA, t.SoundPARows);
  if (KeyMatches(line, "[Sound_PR]")) ReadSingleRows(f, veh.Power, t.SoundPR, t.SoundPRRows);
  if (KeyMatches(line, "[Sound_PK]")) ReadSingleRows(f, veh.Power, t.SoundPK, t.SoundPKRows);
  if (KeyMatches(line, "[Sound_EB]")) {
    t.SoundEB = f.NextInt();
    f.ReadLine();  // always taken, even when it says "none"
    t.SoundEB2 = !line.empty() && line.front() == ';' ? 0 : ToInt(line);
  }
  twoInts("[Sound_Apply]", t.SoundApply);
  ints({{"[Sound_Ats1]", &TVehicleTables::SoundAts1},
        {"[Sound_Ats2]", &TVehicleTables::SoundAts2},
        {"[Sound_Ats3]", &TVehicleTables::SoundAts3},
        {"[Sound_Atc]", &TVehicleTables::SoundAtc},
        {"[Sound_Horn]", &TVehicleTables::SoundHorn},
        {"[Sound_Horn2]", &TVehicleTables::SoundHorn2},
        {"[Sound_Horn3]", &TVehicleTables::SoundHorn3}});
  if (KeyMatches(line, "[Sound_Horn4]")) {
    for (int32_t& c : t.Horn4) c = f.NextInt();
    t.HornAir = Fixed4(static_cast<long double>(f.NextInt()));
  }
  ints({{"[Sound_DoorOpen]", &TVehicleTables::SoundDoorOpen}, {"[Sound_DoorClose]", &TVehicleTables::SoundDoorClose}});
  twoInts("[Sound_Hasten]", t.SoundHasten);
  if (KeyMatches(line, "[KEY4]")) {
    f.ReadLine();
    t.Key4Mode = line;
  }
  ints({{"[Sound_EBring]", &TVehicleTables::SoundEBring},
        {"[Sound_squeak]", &TVehicleTables::SoundSqueak},
        {"[CP_Start]", &TVehicleTables::CPStart},
        {"[CP_Cnt]", &TVehicleTables::CPCnt},
        {"[CP_End]", &TVehicleTables::CPEnd},
        {"[Stop]", &TVehicleTables::SoundStop},
        {"[Buzzer]", &TVehicleTables::SoundBuzzer},
        {"[DepSign]", &TVehicleTables::SoundDepSign},
        {"[ATS_Warn]", &TVehicleTables::SoundATSWarn}});
  if (KeyMatches(line, "[SwitchSound]")) {
    t.SwitchSound.clear();
    ReadList(f, [&] { t.SwitchSound.push_back({FieldInt(line, 1), FieldInt(line, 2), FieldInt(line, 3)}); });
    t.SwitchSoundCount = static_cast<int32_t>(t.SwitchSound.size());
  }
  if (KeyMatches(line, "[EngineRate]")) {
    t.EngineRate.clear();
    ReadList(f, [&] { t.EngineRate.push_back({FieldInt(line, 1), FieldReal(line, 2)}); });
  }
  if (KeyMatches(line, "[Gear_Type]")) {
    f.ReadLine();
    if (line == "AT") t.Gear_Type = 0;
    if (line == "MT") t.Gear_Type = 1;
  }

  // Each table from here on is its own group of the error message.
  title = "[Notch]";
  if (KeyMatches(line, "[Notch]")) {
    ReadNotch(f, t);
    // Engine_Type as read so far: it has to come before the table in the file.
    if (veh.Engine_Type == 0) throw LoadError(kNotchOnDieselError);
  }
  title = "[CurrentP]";
  if (KeyMatches(line, "[CurrentP]")) ReadCurrentP(f, t);
  title = "[BrakeCurr]";
  if (KeyMatches(line, "[BrakeCurr]")) {
    int32_t count = 0;
    ReadOneBasedList(f, t.BrakeCurr, count);
  }
  title = "[CurrentB]";
  if (KeyMatches(line, "[CurrentB]")) {
    t.CurrentB.clear();
    ReadList(f, [&] { t.CurrentB.push_back({FieldReal(line, 1), FieldReal(line, 2), FieldInt(line, 3)}); });
    t.CurrentBCount = static_cast<int32_t>(t.CurrentB.size());
  }
  title = "[Engine]";
  if (KeyMatches(line, "[Engine]")) {
    ReadEngine(f, t);
    if (veh.Engine_Type == 1) throw LoadError(kEngineOnElectricError);
  }
  title = "[PowerMode]";
  if (KeyMatches(line, "[PowerMode]")) ReadPowerMode(f, t);
  title = "[Suppress]";
  if (KeyMatches(line, "[Suppress]")) ReadOneBasedList(f, t.Suppress, t.SuppressCount);
  title = "[EngineSound1]";
  if (KeyMatches(line, "[EngineSound1]")) ReadMotorSounds(f, t);
  title = "[EngineSound2]";
  if (KeyMatches(line, "[EngineSound2]")) {
    for (int32_t& c : t.EngineSound2) c = f.NextInt();
  }
  title = "[EngineSound3]";
  if (KeyMatches(line, "[EngineSound3]")) ReadGearSounds(f, t);
  title = "[DriveSound]";
  if (KeyMatches(line, "[DriveSound]")) {
    t.DriveSound = {};
    t.DriveSoundCount = 0;
    ReadList(f, [&] {
      if (t.DriveSoundCount < kDriveSoundRows) t.DriveSound[static_cast<size_t>(t.DriveSoundCount++)] = line;
    });
  }
}

}  // namespace kavrin
