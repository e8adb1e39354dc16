#include "demo/trains.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "demo/cab_panels.h"
#include "demo/train_sounds.h"

namespace kavrin::demo {

namespace {

struct Value {
  const char* Key;
  std::vector<std::string> Lines;
};

void Values(DataText& t, std::initializer_list<Value> values) {
  for (const Value& v : values) {
    t.Line(v.Key);
    for (const std::string& l : v.Lines) t.Line(l);
  }
}

std::string I(long long v) { return std::to_string(v); }
std::string Pair(int a, int b) { return I(a) + "," + I(b); }

// Handle clicks and the air of each brake step. Rows as many as the brake and power handles
// have positions; an automatic brake takes its clicks from the second column.
void HandleSounds(DataText& t, int brake, int power) {
  t.Line("; ハンドルの音: 1列目 指令, 2列目 空気");
  t.Line("[Sound_BK]");
  for (int i = 0; i < brake; ++i) t.Line(Pair(kClickBrake, kReleaseLong));
  t.Line("[Sound_BR]");
  for (int i = 0; i < brake; ++i) t.Line(Pair(kClickBrake, kReleaseStep));
  t.Line("[Sound_BA]");
  // Row brake - 1 is the step into the emergency position.
  for (int i = 0; i <= brake; ++i) t.Line(Pair(i == brake - 1 ? kClickEmergency : kClickBrake, kApplyAir));
  for (const char* key : {"[Sound_PA]", "[Sound_PR]", "[Sound_PK]"}) {
    t.Line(key);
    for (int i = 0; i < power; ++i) t.Line(I(kClickPower));
  }
}

void EquipmentSounds(DataText& t) {
  Values(t, {
                {"[Sound_EB]", {I(kEmergency), "; 二つ目の音なし"}},
                {"[Sound_Ats1]", {I(kAtsBell)}},
                {"[Sound_Ats2]", {I(kAtsChime)}},
                {"[Sound_Ats3]", {I(kAtsAck)}},
                {"[Sound_Atc]", {I(kAtsPattern)}},
                {"[Sound_Horn]", {I(kHornA)}},
                {"[Sound_Horn2]", {I(kHorn2)}},
                {"[Sound_Horn3]", {I(kHorn2)}},
                // Attack, two sustains, the tail; a new piece every 0.4 s (12 steps of the clock)
                // while the key is held, and 2 kPa of air from the main reservoir.
                {"[Sound_Horn4]", {I(kHornA), I(kHornB), I(kHornC), I(kHornTail), "12", "2"}},
                {"[Sound_DoorOpen]", {I(kDoorOpen)}},
                {"[Sound_DoorClose]", {I(kDoorClose)}},
                {"[Sound_Hasten]", {I(kHasten), I(kHastenEnd)}},
                {"[KEY4]", {"H"}},
                {"[Sound_EBring]", {I(kVigilance)}},
                {"[Sound_squeak]", {I(kSqueal)}},
                {"[CP_Start]", {I(kCompStart)}},
                {"[CP_Cnt]", {I(kCompLoop)}},
                {"[CP_End]", {I(kCompEnd)}},
                {"[Stop]", {I(kStopAlarm)}},
                {"[Buzzer]", {I(kBuzzer)}},
                {"[DepSign]", {I(kDepSignal)}},
                {"[ATS_Warn]", {I(kAtsOff)}},
            });
}

struct Curve {
  int Kagen;
  double S[4], R[4], V[4];
};

void MotorCurves(DataText& t, Train train, const std::vector<Curve>& curves) {
  const std::vector<SoundFile> files = MotorCurveSounds(train);
  t.Line("; 音, 加減(0 力行 1 ブレーキ 2 常時 / 気動車: -1 常時 段の番号), 速度4点, 音程4点, 音量4点");
  t.Line("[EngineSound1]");
  for (size_t r = 0; r < curves.size(); ++r) {
    t.Line(DataText::WinPath(files.at(r).File)).Line(I(curves[r].Kagen));
    for (const double* row : {curves[r].S, curves[r].R, curves[r].V}) {
      for (int k = 0; k < 4; ++k) t.Line(DataText::Num(row[k], 2));
    }
  }
  t.Line("#");
}

void DriveSoundList(DataText& t, Train train) {
  t.Line("; 0-12: 走行音 (10km/hごと)");
  t.Line("[DriveSound]");
  for (const SoundFile& f : DriveSounds(train)) t.Line(DataText::WinPath(f.File));
  t.Line("#");
}

}  // namespace

DataText ElectricTrainText() {
  DataText t;
  t.Line("; しらさぎ線 1000形 電車（4両 2M2T、ワンハンドル、電気指令式ブレーキ、回生ブレーキ、ATS-P）");
  t.Line("- 列車の基本設定");
  Values(t, {
                {"[Handle]", {"0"}},
                {"[BrakeType]", {"1"}},
                {"[BrakeType2]", {"1"}},
                {"[Brake]", {"8"}},
                {"[Power]", {"6"}},
                {"[NotchBack]", {"0"}},
                {"[Hold]", {"0"}},
                {"[Pull]", {"0"}},
                {"[Const]", {"0", "0"}},
                {"[Back]", {"1"}},
                // Emergency 4.6 km/h/s; the full service of 360 kPa gives 3.8.
                {"[BrakeRate]", {"4.6", "3.8", "40"}},
                {"[BrakeRate2]", {"0.015"}},
                {"[PowerDelay]", {"3"}},
                {"[BrakeDelay]", {"4"}},
                {"[EBrakeDelay]", {"6"}},
                {"[PowerJerk]", {"0"}},
                {"[SAPDelay]", {"3"}},
                {"[BrakeUp]", {"300"}},
                {"[BrakeDown]", {"300"}},
                {"[SAPUp]", {"400"}},
                {"[SAPDown]", {"350"}},
                {"[AmMeter]", {"1", "300"}},
                {"[EBrakeUp]", {"400"}},
                {"[EBrakeDown]", {"400"}},
                // 400 A at 19 kgf/A brakes the motor cars as their own air would.
                {"[EBrakeCurr]", {"400", "19"}},
                {"[BPReturn]", {"100"}},
                {"[MAXPress]", {"360"}},
                {"[EBPress]", {"440"}},
                {"[SAPPress]", {"440"}},
                {"[HighAirPress]", {"880"}},
                {"[LowAirPress]", {"780"}},
                {"[Engine_Type]", {"1"}},
                // Traction with the doors open is left to the driver, as on the older cars.
                {"[DoorLock]", {"1"}},
                {"[Power_Type]", {"1"}},
                {"[Brake_Type]", {"1"}},
                {"[DoorType]", {"0"}},
                {"[Mt]", {"72.0"}},
                {"[Tt]", {"60.0"}},
                {"[Cars]", {"4"}},
                {"[Length]", {"20"}},
                {"[Tons]", {"132.0"}},
                {"[EB]", {"1"}},
                {"[MaxSpeed]", {"100"}},
                {"[Lose_elec]", {"5", "8"}},
                {"[ELBR]", {"20"}},
                {"[Mc]", {"0"}},
                {"[ATS_Type]", {"1"}},
                {"[ATS_Alert]", {"0"}},
                {"[ATS_Time]", {"5"}},
                {"[ATS_Cnt]", {"1"}},
            });
  HandleSounds(t, 8, 6);
  EquipmentSounds(t);
  t.Line("; 力行: 起動加速度, 加速度, 定トルクの終わり, 減衰の始まり(km/h), 減衰, モード");
  t.Line("[Notch]");
  const char* notches[][6] = {
      {"0.8", "0.8", "10", "15", "0.97", "0"},  {"1.5", "1.5", "25", "35", "0.97", "0"},
      {"2.0", "2.0", "32", "45", "0.98", "0"},  {"2.4", "2.4", "36", "60", "0.985", "0"},
      {"0.5", "0.5", "10", "15", "0.95", "1"},  {"0.9", "0.9", "15", "20", "0.95", "1"},
  };
  for (const auto& n : notches) {
    for (const char* l : n) t.Line(l);
  }
  t.Line("#");
  t.Line("[PowerMode]").Line("P,力行").Line("S,入換").Line("#");
  MotorCurves(t, Train::Electric,
              {{0, {0, 12, 35, 60}, {1.0, 1.0, 1.8, 2.4}, {60, 70, 55, 5}},
               {0, {0, 20, 60, 110}, {0.05, 0.33, 1.0, 1.83}, {30, 60, 90, 90}},
               {1, {0, 12, 35, 60}, {1.0, 1.0, 1.8, 2.4}, {40, 50, 45, 5}},
               {1, {0, 20, 60, 110}, {0.05, 0.33, 1.0, 1.83}, {25, 50, 75, 75}},
               {2, {0, 20, 60, 110}, {0.2, 0.5, 1.0, 1.8}, {5, 15, 30, 35}}});
  DriveSoundList(t, Train::Electric);
  PanelKeys(t, Train::Electric);
  return t;
}

DataText DieselTrainText() {
  DataText t;
  t.Line("; しらさぎ線 キハ0形 気動車（2両、液体式・自動変速、自動空気ブレーキ、ATS-S）");
  t.Line("- 列車の基本設定");
  Values(t, {
                {"[Handle]", {"1"}},
                {"[BrakeType]", {"0"}},
                {"[BrakeType2]", {"0"}},
                {"[Brake]", {"4"}},
                {"[Power]", {"5"}},
                {"[NotchBack]", {"0"}},
                {"[Hold]", {"0"}},
                {"[Pull]", {"0"}},
                {"[Const]", {"0", "0"}},
                {"[Back]", {"1"}},
                {"[BrakeRate]", {"4.4", "3.6", "30"}},
                {"[BrakeRate2]", {"0.015"}},
                {"[PowerDelay]", {"4"}},
                {"[BrakeDelay]", {"8"}},
                {"[EBrakeDelay]", {"0"}},
                {"[PowerJerk]", {"5"}},
                {"[SAPDelay]", {"3"}},
                {"[BrakeUp]", {"300"}},
                {"[BrakeDown]", {"200"}},
                {"[SAPUp]", {"100"}},
                {"[SAPDown]", {"100"}},
                {"[AmMeter]", {"0", "0"}},
                {"[EBrakeUp]", {"0"}},
                {"[EBrakeDown]", {"0"}},
                {"[EBrakeCurr]", {"0", "0"}},
                {"[BPReturn]", {"60"}},
                {"[MAXPress]", {"340"}},
                {"[EBPress]", {"420"}},
                {"[SAPPress]", {"0"}},
                {"[HighAirPress]", {"880"}},
                {"[LowAirPress]", {"740"}},
                {"[Engine_Type]", {"0"}},
                {"[DoorLock]", {"1"}},
                {"[Power_Type]", {"0"}},
                {"[Brake_Type]", {"0"}},
                {"[DoorType]", {"0"}},
                {"[Mt]", {"36.0"}},
                {"[Tt]", {"34.0"}},
                {"[Cars]", {"2"}},
                {"[Length]", {"20"}},
                {"[Tons]", {"70.0"}},
                {"[EB]", {"1"}},
                {"[MaxSpeed]", {"95"}},
                {"[Lose_elec]", {"5", "10"}},
                {"[ELBR]", {"10"}},
                {"[Mc]", {"1"}},
                {"[ATS_Type]", {"0"}},
                {"[ATS_Alert]", {"0"}},
                {"[ATS_Time]", {"5"}},
                {"[ATS_Cnt]", {"1"}},
            });
  HandleSounds(t, 4, 5);
  EquipmentSounds(t);
  Values(t, {{"[Sound_Apply]", {I(kAutoApply), I(kAutoCharge)}}});
  t.Line("; 変速段ごとの機関回転: 基準, 速度あたり（中立, 変速, 直結）");
  t.Line("[EngineRate]").Line("30,0").Line("62,0.7").Line("0,1.0").Line("#");
  t.Line("[Gear_Type]").Line("AT");
  // Neutral hands over to the converter as soon as the car is asked to move: its up-shift speed
  // lies below 0.
  t.Line("; 変速段: 速度 S0, S1, S2 (km/h) / 引張力 F0, F1, F2 (kgf)");
  t.Line("[Engine]");
  const char* gears[][6] = {
      {"0", "0", "-1", "0", "0", "0"},
      {"0", "25", "45", "4800", "3600", "2300"},
      {"35", "50", "100", "2400", "2100", "1100"},
  };
  for (const auto& g : gears) {
    for (const char* l : g) t.Line(l);
  }
  t.Line("#");
  t.Line("[PowerMode]").Line("P,").Line("#");
  MotorCurves(t, Train::Diesel,
              {{-1, {10, 40, 70, 100}, {0.1, 0.4, 0.7, 1.0}, {30, 50, 75, 100}},
               {1, {20, 50, 80, 100}, {0.3, 0.64, 0.98, 1.2}, {20, 40, 60, 70}}});
  t.Line("; 機関の音: アイドル, アイドル(扉開), 始動, 停止");
  t.Line("[EngineSound2]").Line(I(kIdle)).Line(I(kIdleDoors)).Line(I(kEngineStart)).Line(I(kEngineStop));
  t.Line("; 変速機の音: 音, 加減, 段, 速度, 音程, 音量(それぞれ始めと終わり)");
  t.Line("[EngineSound3]");
  t.Line(DataText::WinPath(GearCurveSounds(Train::Diesel).at(0).File)).Line("1").Line("2");
  for (const char* l : {"35", "95", "0.5", "1.4", "20", "60"}) t.Line(l);
  t.Line("#");
  DriveSoundList(t, Train::Diesel);
  PanelKeys(t, Train::Diesel);
  return t;
}

void WriteTrainPictures(const std::string& folder) {
  for (Train t : {Train::Electric, Train::Diesel}) WritePanelPictures(t, folder);
}

}  // namespace kavrin::demo
