#include "data/vehicle_params.h"

#include <string>

#include "core/load_error.h"

namespace kavrin {

void ReadParamKeys(DataFile& f, TVehicleParams& v) {
  // A reference on purpose: once a key has read its values, the later keys are tested against
  // the last value line.
  const std::string& line = f.CurLine;
  struct IntKey {
    const char* key;
    int32_t TVehicleParams::*field;
  };
  auto ints = [&](std::initializer_list<IntKey> keys) {
    for (const IntKey& k : keys)
      if (KeyMatches(line, k.key)) v.*k.field = f.NextInt();
  };

  ints({{"[Handle]", &TVehicleParams::Handle},
        {"[BrakeType]", &TVehicleParams::BrakeType},
        {"[BrakeType2]", &TVehicleParams::BrakeType2},
        {"[Brake]", &TVehicleParams::Brake},
        {"[Power]", &TVehicleParams::Power},
        {"[NotchBack]", &TVehicleParams::NotchBack},
        {"[Hold]", &TVehicleParams::Hold},
        {"[Pull]", &TVehicleParams::Pull}});
  if (KeyMatches(line, "[Const]")) {
    v.ConstNotch = f.NextInt();
    v.ConstSpeed = f.NextInt();
  }
  ints({{"[Back]", &TVehicleParams::Back}});
  if (KeyMatches(line, "[BrakeRate]")) {
    for (Fixed4& r : v.BrakeRate) r = f.NextFixed();
  }
  if (KeyMatches(line, "[BrakeRate2]")) v.BrakeRate2 = static_cast<long double>(f.NextFixed().raw) / 10000.0L;
  ints({{"[PowerDelay]", &TVehicleParams::PowerDelay},
        {"[BrakeDelay]", &TVehicleParams::BrakeDelay},
        {"[EBrakeDelay]", &TVehicleParams::EBrakeDelay},
        {"[PowerJerk]", &TVehicleParams::PowerJerk},
        {"[SAPDelay]", &TVehicleParams::SAPDelay},
        {"[BrakeUp]", &TVehicleParams::BrakeUp},
        {"[BrakeDown]", &TVehicleParams::BrakeDown},
        {"[SAPUp]", &TVehicleParams::SAPUp},
        {"[SAPDown]", &TVehicleParams::SAPDown}});
  if (KeyMatches(line, "[AmMeter]")) {
    v.AmMeterMode = f.NextInt();
    v.AmMeterScale = f.NextInt();
  }
  ints({{"[EBrakeUp]", &TVehicleParams::EBrakeUp}, {"[EBrakeDown]", &TVehicleParams::EBrakeDown}});
  if (KeyMatches(line, "[EBrakeCurr]")) {
    for (int32_t& c : v.EBrakeCurr) c = f.NextInt();
  }
  ints({{"[BPReturn]", &TVehicleParams::BPReturn},
        {"[MAXPress]", &TVehicleParams::MAXPress},
        {"[EBPress]", &TVehicleParams::EBPress},
        {"[SAPPress]", &TVehicleParams::SAPPress},
        {"[HighAirPress]", &TVehicleParams::HighAirPress},
        {"[LowAirPress]", &TVehicleParams::LowAirPress},
        {"[Engine_Type]", &TVehicleParams::Engine_Type},
        {"[DoorLock]", &TVehicleParams::DoorLock},
        {"[Power_Type]", &TVehicleParams::Power_Type},
        {"[Brake_Type]", &TVehicleParams::Brake_Type},
        {"[DoorType]", &TVehicleParams::DoorType}});
  if (KeyMatches(line, "[Mt]")) v.Mt = f.NextFixed();
  if (KeyMatches(line, "[Tt]")) v.Tt = f.NextFixed();
  ints({{"[Cars]", &TVehicleParams::Cars}, {"[Length]", &TVehicleParams::Length}});
  if (KeyMatches(line, "[Tons]")) v.Tons = f.NextFixed();
  ints({{"[EB]", &TVehicleParams::EB}, {"[MaxSpeed]", &TVehicleParams::MaxSpeed}});
  if (KeyMatches(line, "[Lose_elec]")) {
    for (int32_t& s : v.LoseElec) s = f.NextInt();
  }
  ints({{"[ELBR]", &TVehicleParams::ELBR},
        {"[Mc]", &TVehicleParams::Mc},
        {"[ATS_Type]", &TVehicleParams::ATS_Type},
        {"[ATS_Alert]", &TVehicleParams::ATS_Alert},
        {"[ATS_Time]", &TVehicleParams::ATS_Time},
        {"[ATS_Cnt]", &TVehicleParams::ATS_Cnt}});
}

void SetUpBrakeHandle(TVehicleParams& v) {
  if (v.BrakeType == 0) v.Brake = 4;
  if (v.BrakeType != 0 && v.Brake < 3) throw LoadError(kBrakeStepsError);
}

void CheckTons(const TVehicleParams& v) {
  if (v.Tons.raw <= 0) throw LoadError(std::string(kVehicleFileError) + kBasicGroupTitle);
}

}  // namespace kavrin
