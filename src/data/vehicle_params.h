#pragma once
// The scalar parameters of a train: handles, brake, traction, air system, masses and protection
// options. Read once with the rest of the vehicle file and read-only afterwards (the brake
// handle rule below being the one change, made when the run is set up).
#include <array>
#include <cstdint>

#include "core/fixed4.h"
#include "data/data_file.h"

namespace kavrin {

inline constexpr const char* kVehicleFileError = "車両ファイルに誤りがあります";
inline constexpr const char* kBasicGroupTitle = "- 列車の基本設定";
inline constexpr const char* kBrakeStepsError = "ブレーキの段数を3段以上に設定してください";

// Every field keeps 0 when its key is absent. Rates are per second (the dynamics divide them by
// DispRate); delays are counts of 33 ms steps.
struct TVehicleParams {
  int32_t Handle = 0;
  int32_t BrakeType = 0;
  int32_t BrakeType2 = 0;
  int32_t Brake = 0;
  int32_t Power = 0;
  int32_t NotchBack = 0;
  int32_t Hold = 0;
  int32_t Pull = 0;
  int32_t ConstNotch = 0;  // "[Const]" line 1
  int32_t ConstSpeed = 0;  // "[Const]" line 2
  int32_t Back = 0;
  std::array<Fixed4, 3> BrakeRate{};
  long double BrakeRate2 = 0;  // read to four decimals
  int32_t PowerDelay = 0;
  int32_t BrakeDelay = 0;
  int32_t EBrakeDelay = 0;
  int32_t PowerJerk = 0;
  int32_t SAPDelay = 0;
  int32_t BrakeUp = 0;
  int32_t BrakeDown = 0;
  int32_t SAPUp = 0;
  int32_t SAPDown = 0;
  int32_t AmMeterMode = 0;   // "[AmMeter]" line 1
  int32_t AmMeterScale = 0;  // "[AmMeter]" line 2
  int32_t EBrakeUp = 0;
  int32_t EBrakeDown = 0;
  std::array<int32_t, 2> EBrakeCurr{};
  int32_t BPReturn = 0;
  int32_t MAXPress = 0;
  int32_t EBPress = 0;
  int32_t SAPPress = 0;
  int32_t HighAirPress = 0;
  int32_t LowAirPress = 0;
  int32_t Engine_Type = 0;  // 1 electric, 0 diesel
  int32_t DoorLock = 0;
  int32_t Power_Type = 0;
  int32_t Brake_Type = 0;
  int32_t DoorType = 0;
  Fixed4 Mt{};
  Fixed4 Tt{};
  int32_t Cars = 0;
  int32_t Length = 0;
  Fixed4 Tons{};
  int32_t EB = 0;
  int32_t MaxSpeed = 0;
  std::array<int32_t, 2> LoseElec{};  // "[Lose_elec]"
  int32_t ELBR = 0;
  int32_t Mc = 0;
  int32_t ATS_Type = 0;
  int32_t ATS_Alert = 0;
  int32_t ATS_Time = 0;
  int32_t ATS_Cnt = 0;
};

// Tests the parameter keys, in their order, against file.CurLine; a key that matches reads its
// value lines. Throws ValueError on a value that does not convert.
void ReadParamKeys(DataFile& file, TVehicleParams& veh);

// The brake handle as a run uses it: an automatic brake always has the four positions of its
// named steps plus emergency (Brake = 4); any other brake needs at least three. Throws LoadError
// with kBrakeStepsError when it has fewer.
void SetUpBrakeHandle(TVehicleParams& veh);

// Tons divides every traction and resistance force: a train without a positive mass is a broken
// vehicle file. Throws LoadError with kVehicleFileError and the title of the group of "[Tons]".
void CheckTons(const TVehicleParams& veh);

}  // namespace kavrin
