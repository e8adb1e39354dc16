#include "demo/trains.h"

#include <QImage>
#include <QPainter>

#include <initializer_list>
#include <string>
#include <utility>

#include "demo/pictures.h"

namespace kavrin::demo {

namespace {

struct Value {
  const char* Key;
  std::initializer_list<const char*> Lines;
};

// The keys every train shares, before its traction.
void Common(DataText& t, bool electric) {
  const Value values[] = {
      {"[Handle]", {"1"}},
      {"[BrakeType]", {"1"}},
      {"[BrakeType2]", {electric ? "1" : "0"}},
      {"[Brake]", {"8"}},
      {"[Power]", {"4"}},
      {"[NotchBack]", {"0"}},
      {"[Hold]", {"0"}},
      {"[Pull]", {"0"}},
      {"[Const]", {"0", "0"}},
      {"[Back]", {"1"}},
      {"[BrakeRate]", {"4.5", "3.5", "40"}},
      {"[BrakeRate2]", {"0.02"}},
      {"[PowerDelay]", {"3"}},
      {"[BrakeDelay]", {"3"}},
      {"[EBrakeDelay]", {"3"}},
      {"[PowerJerk]", {electric ? "0" : "5"}},
      {"[SAPDelay]", {"2"}},
      {"[BrakeUp]", {"350"}},
      {"[BrakeDown]", {"300"}},
      {"[SAPUp]", {"400"}},
      {"[SAPDown]", {"350"}},
      {"[AmMeter]", {"0", "120"}},
      {"[EBrakeUp]", {"600"}},
      {"[EBrakeDown]", {"600"}},
      {"[EBrakeCurr]", {electric ? "450" : "0", electric ? "18" : "0"}},
      {"[BPReturn]", {"80"}},
      {"[MAXPress]", {"360"}},
      {"[EBPress]", {"420"}},
      {"[SAPPress]", {"440"}},
      {"[HighAirPress]", {"880"}},
      {"[LowAirPress]", {"780"}},
      {"[Engine_Type]", {electric ? "1" : "0"}},
      {"[DoorLock]", {"1"}},
      {"[Power_Type]", {"1"}},
      {"[Brake_Type]", {"0"}},
      {"[DoorType]", {"0"}},
      {"[Mt]", {electric ? "72.0" : "36.0"}},
      {"[Tt]", {electric ? "68.0" : "34.0"}},
      {"[Cars]", {electric ? "4" : "2"}},
      {"[Length]", {"20"}},
      {"[Tons]", {electric ? "140.0" : "70.0"}},
      {"[EB]", {"1"}},
      {"[MaxSpeed]", {electric ? "100" : "95"}},
      {"[Lose_elec]", {"5", "10"}},
      {"[ELBR]", {"5"}},
      {"[Mc]", {"1"}},
      {"[ATS_Type]", {"0"}},
      {"[ATS_Alert]", {"0"}},
      {"[ATS_Time]", {"5"}},
      {"[ATS_Cnt]", {"1"}},
  };
  for (const Value& v : values) {
    t.Line(v.Key);
    for (const char* l : v.Lines) t.Line(l);
  }
}

void DoorLamp(DataText& t, const std::string& folder) {
  t.Line("- 運転台パネル2");
  t.Line("[Lamp_Door]").Line(DataText::WinPath(folder + "/lamp_door.png")).Line("756").Line("462");
}

}  // namespace

DataText ElectricTrainText() {
  DataText t;
  t.Line("; しらさぎ線 1000形 電車（4両）");
  t.Line("- 列車の基本設定");
  Common(t, true);
  t.Line("; 力行: 起動加速度, 加速度, 定トルクの終わり, 減衰の始まり(km/h), 減衰の指数, モード");
  t.Line("[Notch]");
  const char* notches[][6] = {
      {"1.0", "1.0", "15", "20", "2.0", "0"},
      {"1.8", "1.8", "25", "35", "2.0", "0"},
      {"2.4", "2.4", "32", "45", "2.0", "0"},
      {"3.0", "3.0", "36", "55", "2.2", "0"},
  };
  for (const auto& n : notches) {
    for (const char* l : n) t.Line(l);
  }
  t.Line("#");
  t.Line("[BrakeCurr]").Line("0").Line("150").Line("220").Line("290").Line("350").Line("400").Line("450").Line("#");
  t.Line("[PowerMode]").Line("P,").Line("#");
  DoorLamp(t, "train/1000");
  return t;
}

DataText DieselTrainText() {
  DataText t;
  t.Line("; しらさぎ線 キハ0形 気動車（2両）");
  t.Line("- 列車の基本設定");
  Common(t, false);
  t.Line("; 変速段ごとの機関回転: 基準, 速度あたり");
  t.Line("[EngineRate]").Line("30,0").Line("40,0.9").Line("20,0.8").Line("#");
  t.Line("[Gear_Type]").Line("AT");
  t.Line("; 変速段: 速度 S0, S1, S2 (km/h) / 引張力 F0, F1, F2 (kgf)");
  t.Line("[Engine]");
  const char* gears[][6] = {
      {"0", "0", "0", "0", "0", "0"},
      {"0", "20", "48", "5200", "4200", "2400"},
      {"40", "55", "100", "2600", "2100", "900"},
  };
  for (const auto& g : gears) {
    for (const char* l : g) t.Line(l);
  }
  t.Line("#");
  t.Line("[PowerMode]").Line("P,").Line("#");
  DoorLamp(t, "train/0");
  return t;
}

void WriteTrainPictures(const std::string& folder) {
  // The door lamp: lit while the doors are closed. Magenta round it is transparent.
  for (const char* train : {"train/1000", "train/0"}) {
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(255, 196, 60));
    p.drawEllipse(QPointF(20, 20), 17, 17);
    DrawFitted(p, QRectF(6, 8, 28, 24), "戸閉", 13, QColor(60, 30, 0), true);
    p.end();
    SavePicture(img, folder + train + "/lamp_door.png");
  }
}

}  // namespace kavrin::demo
