#include "demo/route_writer.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "demo/assets.h"

namespace kavrin::demo {

namespace {

std::string Join(std::initializer_list<std::string> fields) {
  std::string s;
  for (const std::string& f : fields) {
    if (!s.empty()) s += ",";
    s += f;
  }
  return s;
}

std::string I(long long v) { return std::to_string(v); }

// Speeds of the filming table with as many decimals as they carry (at most four).
std::string Speed(double v) {
  std::string s = DataText::Num(v, 4);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

std::string Path(const std::string& p) { return DataText::WinPath(p); }

}  // namespace

DataText RouteFileText(const Route& r, bool diesel) {
  DataText t;
  const RouteStation& first = r.Stations.front();
  const RouteStation& last = r.Stations.back();
  const RoutePictures pic = PicturesOf(r);
  const std::string train = diesel ? "気動車" : "電車";

  t.Line("; " + std::string(kLineName) + " " + r.Name + " " + first.Name + "→" + last.Name + "（" + train + "）");
  t.Line("; 映像: move\\" + FilmBaseName(r.Direction) + ".avi（" + I(r.Film.FrameCount()) + "フレーム、30フレーム毎秒）");
  t.Line();
  t.Line("[LineName]").Line(std::string(kLineName) + " " + r.Name + " " + first.Name + "→" + last.Name);
  t.Line("[LineName2]").Line(std::string(kLineName) + r.Name + "（" + train + "）");
  t.Line("[StartPos]").Line(I(first.Stop.Frame));
  t.Line("[FrameRate]").Line("30");
  t.Line("[Staf]").Line(Path(pic.Staf)).Line(Path(pic.Start)).Line(Path(pic.Sub));
  t.Line("[Friction]").Line("0.30");
  t.Line("[StafSwitch]").Line("0").Line("#");
  // Running past the end of the film stops the train at its last frames.
  t.Line("[MovieStop]").Line(I(r.Film.FrameCount() - 2)).Line("#");
  t.Line("; 種別, 開始, 終了, 映像, フレーム数, 駅, 時刻, 音のフレーム, 音");
  t.Line("[MovieSwitch]");
  for (const RouteInsert& in : r.Inserts) {
    t.Line(Join({"2", "0", "0", InsertBaseName(r, in), I(in.Frames), I(in.Station), I(in.After), "10", I(kStartChime)}));
  }
  t.Line("#");
  t.Line("; 現示ごとの速度: 停止, 警戒, 注意, 減速, 進行");
  t.Line("[Speed_Signal]").Line("0").Line("25").Line("45").Line("65").Line("120").Line("#");
  t.Line("[DataName]").Line(FilmBaseName(r.Direction));
  t.Line("[Perspective]").Line(DataText::Num(kPerspective, 1)).Line(I(kPerspectiveScale));
  t.Line();

  t.Line("; 先行列車: 開始フレーム, 消えるフレーム / 駅, 速度, 発車時刻");
  t.Line("[Pre_Train]").Line(Join({I(r.PreStart), I(r.PreEnd)}));
  for (const Route::PreRow& p : r.PreTrain) t.Line(Join({I(p.Station), I(p.Speed), I(p.Depart)}));
  t.Line("#");
  t.Line("[OneMan]").Line("0").Line("0");
  t.Line();

  t.Line("[SoundData]");
  for (const SoundFile& s : RouteSounds(r)) t.Line(Path(s.File));
  t.Line("#");
  t.Line("; 停止位置を過ぎて止まったときの案内, 直した後の案内 / 音, 種別, 駅, 距離(m)");
  t.Line("[Announce]").Line(Join({I(kOverrunStop), I(kOverrun)}));
  t.Line(Join({I(kWelcome), "0", "0", "50"}));
  t.Line(Join({I(kNextSecond), "0", "0", "150"}));
  const int secondIndex = r.Stations[1].TrnType == 0 ? 1 : 2;
  t.Line(Join({I(kNextLast), "0", I(secondIndex), "150"}));
  t.Line(Join({I(kSoonLast), "1", I(static_cast<long long>(r.Stations.size()) - 1), "400"}));
  t.Line("#");
  t.Line("[KankoSound1]");
  for (const SoundFile& s : FixedVoices()) t.Line(Path(s.File));
  t.Line("[KankoSound2]");
  for (const SoundFile& s : ExtraVoices()) t.Line(Path(s.File));
  t.Line("#");
  t.Line();

  const RouteTunnel& tunnel = r.Tunnels.front();
  t.Line("; 音, 開始, 終了, 基準速度, ループ, 速度で音程, 速度で音量, 低速で開始, フェード");
  t.Line("[Sound]");
  t.Line(Join({I(kTunnel), I(tunnel.From.Frame), I(tunnel.To.Frame), "60", "1", "1", "1", "0", "1"}));
  const int32_t countryTo = r.Film.FrameAt(tunnel.From.Cm - 3000);
  const int32_t countryFrom = r.Film.FrameAt(tunnel.From.Cm - 30000);
  t.Line(Join({I(kCountry), I(countryFrom), I(countryTo), "60", "1", "0", "0", "0", "1"}));
  t.Line("#");
  t.Line("[Sound2]").Line(Join({I(kCarHum), "0", I(static_cast<long long>(r.Stations.size()) - 1)})).Line("#");
  t.Line("; 音, 音源のフレーム, 聞こえる距離(cm), 音程を変えない, 駅");
  t.Line("[Doppler]");
  for (const RouteCrossing& c : r.Crossings) {
    t.Line(Join({I(kCrossingBell), I(c.At.Frame), "30000", "0", I(c.Station)}));
  }
  for (const RouteStation& s : r.Stations) {
    if (s.TrnType == 1) t.Line(Join({I(kPassBell), I(s.Stop.Frame), "15000", "1", "0"}));
  }
  t.Line("#");
  t.Line("[Tunnel]");
  for (const RouteTunnel& tn : r.Tunnels) t.Line(Join({I(tn.From.Frame), I(tn.To.Frame), "160"}));
  t.Line("#");
  t.Line("[TunnelR]").Line("2");
  t.Line();

  t.Line("; 駅名, 種別, 停止位置, 停止範囲(cm), 到着音, 発車音, ホームの音, 発車時刻, 最高速度,");
  t.Line(";   停車駅パターン, 反対側の扉, 確率, 時間, ホームの側, 扉の音の確率");
  t.Line("[Station]");
  for (size_t k = 0; k < r.Stations.size(); ++k) {
    const RouteStation& s = r.Stations[k];
    const bool stop = s.TrnType == 0;
    int arr = 0, dep = 0, bck = 0;
    if (stop) {
      bck = kPlatform;
      if (k == 0) dep = kMelodyFirst;
      else if (k + 1 == r.Stations.size()) arr = kArrivalLast;
      else arr = kArrivalSecond, dep = kMelodySecond;
    }
    t.Line(Join({s.Name, I(s.TrnType), I(s.Stop.Frame), "200", I(arr), I(dep), I(bck), I(s.DepTime), I(s.MaxSpeed),
                 stop ? "1" : "0", "0", "0", "0", "0", "100"}));
  }
  t.Line("#");
  t.Line();

  t.Line("; 種別, 名札, 名前の喚呼, 信号機の型, 見え始め, 信号機, 警報, 照査, 保留現示, 解除時刻, 固定現示, 駅,");
  t.Line(";   信号X, 信号Y, 左の絵, 左X, 左Y, 右の絵, 右X, 右Y, 名札X, 名札Y, 予備");
  t.Line("[Signal]");
  for (const RouteSignal& s : r.Signals) {
    t.Line(Join({I(s.Kind), I(s.PlateCell), I(s.NameVoice), I(s.Type), I(s.ShowFrame), I(s.At.Frame), I(s.AlarmFrame),
                 I(s.CheckFrame), I(s.HeldAspect), "0", "0", I(s.Station), "40", "12", "0", "0", "0", "0", "0", "0", "12",
                 "128", "0"}));
  }
  t.Line("#");
  t.Line("; 勾配(‰), 開始, 終了");
  t.Line("[Slope]");
  for (const RouteSlope& s : r.Slopes) t.Line(Join({DataText::Num(s.Permille, 1), I(s.From.Frame), I(s.To.Frame)}));
  t.Line("#");
  t.Line("[Sign]");
  for (const RouteSign& s : r.Signs) t.Line(Join({I(s.Cell), I(s.FromFrame), I(s.At.Frame), "0"}));
  t.Line("#");
  t.Line("; 信号機, 種別, 喚呼, 予備");
  t.Line("[SignalKanko]");
  for (size_t j = 0; j < r.Signals.size(); ++j) {
    const RouteSignal& s = r.Signals[j];
    if (s.Number > 0) t.Line(Join({I(static_cast<long long>(j)), "0", I(kVoiceFirstBlock + s.Number - 1), "0"}));
  }
  t.Line("#");
  // At each stop: the arrival time is called, the starting signal when the doors have closed,
  // and the departure time at the first notch.
  t.Line("; 駅, 事象, 喚呼または時刻");
  t.Line("[StationKanko]");
  int prevStop = 0;
  for (size_t k = 1; k < r.Stations.size(); ++k) {
    const RouteStation& s = r.Stations[k];
    if (s.TrnType != 0) continue;
    t.Line(Join({I(static_cast<long long>(k)), "0", I(s.ArrTime)}));
    t.Line(Join({I(static_cast<long long>(k)), "2", "999"}));
    t.Line(Join({I(static_cast<long long>(k)), "3", I(r.Stations[static_cast<size_t>(prevStop)].DepTime)}));
    prevStop = static_cast<int>(k);
  }
  t.Line("#");
  t.Line("; 制限速度, 標識, 照査の種別, 開始, 終了, 解除標");
  t.Line("[SpeedLimit]");
  for (const RouteLimit& l : r.Limits) {
    t.Line(Join({I(l.Speed), I(l.Board), "1", I(l.From.Frame), I(l.To.Frame), I(l.Release)}));
  }
  t.Line("#");
  t.Line("[MaxSpeedCheck]").Line("0");
  // A stop check before the second station's starting signal while it shows stop.
  t.Line("[SpeedCheck1]");
  for (size_t j = 0; j < r.Signals.size(); ++j) {
    const RouteSignal& s = r.Signals[j];
    if (j > 0 && s.Kind == 3) {
      t.Line(Join({"15", "15", I(r.Film.FrameAt(s.At.Cm - 1500)), I(static_cast<long long>(j))}));
    }
  }
  t.Line("#");
  t.Line();

  t.Line("[SignImageList]");
  t.Line(Join({Path(pic.StopMarker), I(kSignSize)}));
  t.Line(Join({Path(pic.StopLineS), I(kStopLineHeight)}));
  t.Line(Join({Path(pic.StopLineM), I(kStopLineHeight)}));
  t.Line(Join({Path(pic.StopLineE), I(kStopLineHeight)}));
  t.Line(Join({Path(pic.Slope), I(kSignSize)}));
  t.Line(Join({Path(pic.Limit), I(kSignSize)}));
  t.Line(Join({Path(pic.Remain), I(kSignSize)}));
  t.Line(Join({Path(pic.Cross), I(kSignSize)}));
  t.Line(Join({Path(pic.Other), I(kSignSize)}));
  t.Line("[SignalImageList]");
  t.Line(Join({"0", "0", I(kSignalCellW), I(kSignalCellH), Path(pic.Signal)}));
  t.Line(Join({I(kPlateW), I(kPlateH), Path(pic.SubS)}));
  t.Line(Join({I(kSignalCellW), I(kSignalCellW), Path(pic.SubL)}));
  t.Line(Join({I(kSignalCellW), I(kSignalCellW), Path(pic.SubR)}));
  t.Line("[OtherKanko]");
  for (const SoundFile& s : SignVoices()) t.Line(Path(s.File));
  t.Line("#");
  t.Line("[LimitKanko]");
  for (const SoundFile& s : LimitVoices()) t.Line(Path(s.File));
  t.Line("#");
  t.Line();

  t.Line("; 撮影した列車の速度: 開始, 終了, 開始の速度, 終了の速度 (km/h)");
  t.Line("[SpeedUnit]");
  for (const SpeedRow& s : r.Film.Rows()) {
    t.Line(Join({I(s.FromFrame), I(s.ToFrame), Speed(s.FromSpeed), Speed(s.ToSpeed)}));
  }
  t.Line("#");
  t.Line("; 踏切表示, 喚呼, 予告のフレーム, 踏切のフレーム, 駅");
  t.Line("[Cross]");
  for (const RouteCrossing& c : r.Crossings) {
    t.Line(Join({I(kCrossWorking), I(kVoiceCrossing), I(c.EnterFrame), I(c.At.Frame), I(c.Station)}));
  }
  t.Line("#");
  t.Line("[Time]");
  for (const RouteTimeCheck& c : r.TimeChecks) t.Line(Join({I(c.FromFrame), I(c.ToFrame), I(c.Time)}));
  t.Line("#");
  return t;
}

}  // namespace kavrin::demo
