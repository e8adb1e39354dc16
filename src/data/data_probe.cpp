#include "data/data_probe.h"

namespace kavrin {

TProbeNames<TVehicleParams> VehicleParamProbeNames() {
  static const TProbeName<TVehicleParams> kNames[] = {
      {"Handle", [](const TVehicleParams& s) { return ProbeInt(s.Handle); }},
      {"BrakeType", [](const TVehicleParams& s) { return ProbeInt(s.BrakeType); }},
      {"BrakeType2", [](const TVehicleParams& s) { return ProbeInt(s.BrakeType2); }},
      {"Brake", [](const TVehicleParams& s) { return ProbeInt(s.Brake); }},
      {"Power", [](const TVehicleParams& s) { return ProbeInt(s.Power); }},
      {"NotchBack", [](const TVehicleParams& s) { return ProbeInt(s.NotchBack); }},
      {"Hold", [](const TVehicleParams& s) { return ProbeInt(s.Hold); }},
      {"Pull", [](const TVehicleParams& s) { return ProbeInt(s.Pull); }},
      {"ConstNotch", [](const TVehicleParams& s) { return ProbeInt(s.ConstNotch); }},
      {"ConstSpeed", [](const TVehicleParams& s) { return ProbeInt(s.ConstSpeed); }},
      {"Back", [](const TVehicleParams& s) { return ProbeInt(s.Back); }},
      {"PowerDelay", [](const TVehicleParams& s) { return ProbeInt(s.PowerDelay); }},
      {"BrakeDelay", [](const TVehicleParams& s) { return ProbeInt(s.BrakeDelay); }},
      {"EBrakeDelay", [](const TVehicleParams& s) { return ProbeInt(s.EBrakeDelay); }},
      {"PowerJerk", [](const TVehicleParams& s) { return ProbeInt(s.PowerJerk); }},
      {"SAPDelay", [](const TVehicleParams& s) { return ProbeInt(s.SAPDelay); }},
      {"BrakeUp", [](const TVehicleParams& s) { return ProbeInt(s.BrakeUp); }},
      {"BrakeDown", [](const TVehicleParams& s) { return ProbeInt(s.BrakeDown); }},
      {"SAPUp", [](const TVehicleParams& s) { return ProbeInt(s.SAPUp); }},
      {"SAPDown", [](const TVehicleParams& s) { return ProbeInt(s.SAPDown); }},
      {"AmMeterMode", [](const TVehicleParams& s) { return ProbeInt(s.AmMeterMode); }},
      {"AmMeterScale", [](const TVehicleParams& s) { return ProbeInt(s.AmMeterScale); }},
      {"EBrakeUp", [](const TVehicleParams& s) { return ProbeInt(s.EBrakeUp); }},
      {"EBrakeDown", [](const TVehicleParams& s) { return ProbeInt(s.EBrakeDown); }},
      {"BPReturn", [](const TVehicleParams& s) { return ProbeInt(s.BPReturn); }},
      {"MAXPress", [](const TVehicleParams& s) { return ProbeInt(s.MAXPress); }},
      {"EBPress", [](const TVehicleParams& s) { return ProbeInt(s.EBPress); }},
      {"SAPPress", [](const TVehicleParams& s) { return ProbeInt(s.SAPPress); }},
      {"HighAirPress", [](const TVehicleParams& s) { return ProbeInt(s.HighAirPress); }},
      {"LowAirPress", [](const TVehicleParams& s) { return ProbeInt(s.LowAirPress); }},
      {"Engine_Type", [](const TVehicleParams& s) { return ProbeInt(s.Engine_Type); }},
      {"DoorLock", [](const TVehicleParams& s) { return ProbeInt(s.DoorLock); }},
      {"Power_Type", [](const TVehicleParams& s) { return ProbeInt(s.Power_Type); }},
      {"Brake_Type", [](const TVehicleParams& s) { return ProbeInt(s.Brake_Type); }},
      {"Cars", [](const TVehicleParams& s) { return ProbeInt(s.Cars); }},
      {"Length", [](const TVehicleParams& s) { return ProbeInt(s.Length); }},
      {"EB", [](const TVehicleParams& s) { return ProbeInt(s.EB); }},
      {"MaxSpeed", [](const TVehicleParams& s) { return ProbeInt(s.MaxSpeed); }},
      {"ELBR", [](const TVehicleParams& s) { return ProbeInt(s.ELBR); }},
      {"Mc", [](const TVehicleParams& s) { return ProbeInt(s.Mc); }},
      {"ATS_Type", [](const TVehicleParams& s) { return ProbeInt(s.ATS_Type); }},
      {"ATS_Alert", [](const TVehicleParams& s) { return ProbeInt(s.ATS_Alert); }},
      {"ATS_Time", [](const TVehicleParams& s) { return ProbeInt(s.ATS_Time); }},
      {"ATS_Cnt", [](const TVehicleParams& s) { return ProbeInt(s.ATS_Cnt); }},
      {"Tons", [](const TVehicleParams& s) { return ProbeValue(s.Tons); }},
      {"Mt", [](const TVehicleParams& s) { return ProbeValue(s.Mt); }},
      {"Tt", [](const TVehicleParams& s) { return ProbeValue(s.Tt); }},
  };
  return kNames;
}

TProbeNames<TRouteTables> RouteProbeNames() {
  static const TProbeName<TRouteTables> kNames[] = {
      {"LineName", [](const TRouteTables& s) { return ProbeValue(s.LineName); }},
      {"LineName2", [](const TRouteTables& s) { return ProbeValue(s.LineName2); }},
      {"StartPos", [](const TRouteTables& s) { return ProbeInt(s.StartPos); }},
      {"DataName", [](const TRouteTables& s) { return ProbeValue(s.DataName); }},
      {"Friction", [](const TRouteTables& s) { return ProbeValue(s.Friction); }},
      {"Perspective", [](const TRouteTables& s) { return ProbeValue(s.Perspective); }},
      {"PerspectiveScale", [](const TRouteTables& s) { return ProbeInt(s.PerspectiveScale); }},
      {"PreTrainStart", [](const TRouteTables& s) { return ProbeInt(s.PreTrainStart); }},
      {"PreTrainEnd", [](const TRouteTables& s) { return ProbeInt(s.PreTrainEnd); }},
      {"OneMan", [](const TRouteTables& s) { return ProbeInt(s.OneMan); }},
      {"OneManDoors", [](const TRouteTables& s) { return ProbeInt(s.OneManDoors); }},
      {"TunnelR", [](const TRouteTables& s) { return ProbeInt(s.TunnelR); }},
      {"MaxSpeedCheck", [](const TRouteTables& s) { return ProbeInt(s.MaxSpeedCheck); }},
      {"StartAnnounce", [](const TRouteTables& s) { return ProbeInt(s.StartAnnounce); }},
      {"OverrunSound", [](const TRouteTables& s) { return ProbeInt(s.OverrunSound); }},
      {"StationCount", [](const TRouteTables& s) { return ProbeInt(s.Stations.Count()); }},
      {"SignalCount", [](const TRouteTables& s) { return ProbeInt(s.Signals.Count()); }},
      {"TrafficSignalCount", [](const TRouteTables& s) { return ProbeInt(s.TrafficSignals.Count()); }},
      {"SpeedLimitCount", [](const TRouteTables& s) { return ProbeInt(s.SpeedLimits.Count()); }},
      {"SpeedCheck1Count", [](const TRouteTables& s) { return ProbeInt(s.SpeedChecks1.Count()); }},
      {"SpeedCheck2Count", [](const TRouteTables& s) { return ProbeInt(s.SpeedChecks2.Count()); }},
      {"SpeedCheck3Count", [](const TRouteTables& s) { return ProbeInt(s.SpeedChecks3.Count()); }},
      {"SpeedUnitCount", [](const TRouteTables& s) { return ProbeInt(s.SpeedUnits.Count()); }},
      {"SoundDataCount", [](const TRouteTables& s) { return ProbeInt(s.SoundData.Count()); }},
      {"RouteSoundCount", [](const TRouteTables& s) { return ProbeInt(s.RouteSounds.Count()); }},
      {"DopplerCount", [](const TRouteTables& s) { return ProbeInt(s.Dopplers.Count()); }},
      {"TunnelCount", [](const TRouteTables& s) { return ProbeInt(s.Tunnels.Count()); }},
      {"SlopeCount", [](const TRouteTables& s) { return ProbeInt(s.Slopes.Count()); }},
      {"CrossCount", [](const TRouteTables& s) { return ProbeInt(s.Crosses.Count()); }},
      {"MovieSwitchCount", [](const TRouteTables& s) { return ProbeInt(s.MovieSwitches.Count()); }},
      {"KankoCount", [](const TRouteTables& s) { return ProbeInt(s.KankoCount()); }},
      {"AnnounceCount", [](const TRouteTables& s) { return ProbeInt(s.AnnounceCount()); }},
      {"AnimImageCount", [](const TRouteTables& s) { return ProbeInt(s.AnimImageCount); }},
  };
  return kNames;
}

TProbeNames<TSettings> SettingsProbeNames() {
  static const TProbeName<TSettings> kNames[] = {
      {"KankoSetting", [](const TSettings& s) { return ProbeInt(s.KankoSetting); }},
      {"InformationSetting", [](const TSettings& s) { return ProbeInt(s.InformationSetting); }},
      {"ATSSetting", [](const TSettings& s) { return ProbeInt(s.ATSSetting); }},
      {"TunnelSetting", [](const TSettings& s) { return ProbeInt(s.TunnelSetting); }},
      {"MojiSetting", [](const TSettings& s) { return ProbeInt(s.MojiSetting); }},
  };
  return kNames;
}

}  // namespace kavrin
