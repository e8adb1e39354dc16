#include <gtest/gtest.h>

#include <string>

#include "data/vehicle_tables.h"
#include "support/vehicle_reader.h"

namespace kavrin {
namespace {

using test::ReadVehicleText;
using test::VehicleFailure;

TVehicleTables Tables(const std::string& text) { return ReadVehicleText(text).Tables; }

std::string NotchRow(const char* a0, int mode) {
  return std::string(a0) + "\n2.5\n30\n60\n0.98\n" + std::to_string(mode) + "\n";
}

TEST(VehicleTables, HandleTablesTakeBrakeAndPowerAsReadSoFar) {
  // Before "[Brake]" the table has no rows, so its lines are ordinary lines of later passes.
  TVehicleFile v = ReadVehicleText("[Sound_BK]\n[Brake]\n2\n[Sound_BK]\n11,12\n21,22\n[Power]\n1\n");
  EXPECT_EQ(v.veh.Brake, 2);
  EXPECT_EQ(v.veh.Power, 1);
  EXPECT_EQ(v.Tables.SoundBK[0], (std::array<int32_t, 2>{11, 12}));
  EXPECT_EQ(v.Tables.SoundBK[1], (std::array<int32_t, 2>{21, 22}));

  // "[Sound_BA]" has one row more than the brake has positions.
  TVehicleTables t = Tables("[Sound_BA]\n7,8\n[Sound_Horn]\n3\n");
  EXPECT_EQ(t.SoundBA[0], (std::array<int32_t, 2>{7, 8}));
  EXPECT_EQ(t.SoundHorn, 3);

  t = Tables("[Power]\n3\n[Sound_PA]\n1\n2\n3\n[Sound_PR]\n4,x\n5\n6\n[Sound_PK]\n7\n8\n9\n");
  EXPECT_EQ(t.SoundPA, (std::array<int32_t, kHandleSoundRows>{1, 2, 3}));
  EXPECT_EQ(t.SoundPR[0], 4);  // one field is taken, the rest of the line is not read
  EXPECT_EQ(t.SoundPK[2], 9);
}

TEST(VehicleTables, ValueLineThatIsAKeyIsReadAsThatKeyToo) {
  // "[KEY4]" takes the next line as its text; the same line then meets the later keys, here
  // one of the cab panel's.
  TVehicleFile v = ReadVehicleText("[KEY4]\n[Sound_EBring]\n5\n[KEY4]\n[Panel]\np.bmp\n1\n2\n");
  EXPECT_EQ(v.Tables.Key4Mode, "[Panel]");
  EXPECT_EQ(v.Tables.SoundEBring, 5);
  EXPECT_EQ(v.Panel.Panel.name, "p.bmp");
  EXPECT_EQ(v.Panel.Panel.Top, 2);
}

TEST(VehicleTables, HandleRowCountFromTheFileCannotOverflow) {
  EXPECT_EQ(VehicleFailure("[Brake]\n2147483647\n[Sound_BA]\n1,2\n"), "車両ファイルに誤りがあります- 列車の基本設定");
  EXPECT_EQ(VehicleFailure("[Brake]\n-5\n[Sound_BK]\n[Sound_BR]\n"), "(loaded)");
}

TEST(VehicleTables, HandleRowsPastElevenAreReadAndDropped) {
  std::string text = "[Brake]\n13\n[Sound_BR]\n";
  for (int i = 1; i <= 13; ++i) text += std::to_string(i) + "," + std::to_string(100 + i) + "\n";
  text += "[Sound_Horn]\n5\n";
  TVehicleTables t = Tables(text);
  EXPECT_EQ(t.SoundBR[10], (std::array<int32_t, 2>{11, 111}));
  EXPECT_EQ(t.SoundHorn, 5);  // the two dropped rows were still consumed
}

TEST(VehicleTables, SingleSoundValues) {
  TVehicleTables t = Tables(
      "[Sound_EB]\n12\n;none\n[Sound_Apply]\n3\n4\n[Sound_Ats1]\n5\n[Sound_Ats2]\n6\n[Sound_Ats3]\n7\n"
      "[Sound_Atc]\n8\n[Sound_Horn]\n9\n[Sound_Horn2]\n10\n[Sound_Horn3]\n11\n"
      "[Sound_Horn4]\n20\n21\n22\n23\n24\n15\n[Sound_DoorOpen]\n25\n[Sound_DoorClose]\n26\n"
      "[Sound_Hasten]\n27\n28\n[KEY4]\nB\n[Sound_EBring]\n29\n[Sound_squeak]\n30\n"
      "[CP_Start]\n31\n[CP_Cnt]\n32\n[CP_End]\n33\n[Stop]\n34\n[Buzzer]\n35\n[DepSign]\n36\n[ATS_Warn]\n37\n");
  EXPECT_EQ(t.SoundEB, 12);
  EXPECT_EQ(t.SoundEB2, 0);
  EXPECT_EQ(t.SoundApply, (std::array<int32_t, 2>{3, 4}));
  EXPECT_EQ(t.SoundAts1, 5);
  EXPECT_EQ(t.SoundAts2, 6);
  EXPECT_EQ(t.SoundAts3, 7);
  EXPECT_EQ(t.SoundAtc, 8);
  EXPECT_EQ(t.SoundHorn, 9);
  EXPECT_EQ(t.SoundHorn2, 10);
  EXPECT_EQ(t.SoundHorn3, 11);
  EXPECT_EQ(t.Horn4, (std::array<int32_t, 5>{20, 21, 22, 23, 24}));
  EXPECT_EQ(t.HornAir.raw, 150000);
  EXPECT_EQ(t.SoundDoorOpen, 25);
  EXPECT_EQ(t.SoundDoorClose, 26);
  EXPECT_EQ(t.SoundHasten, (std::array<int32_t, 2>{27, 28}));
  EXPECT_EQ(t.Key4Mode, "B");
  EXPECT_EQ(t.SoundEBring, 29);
  EXPECT_EQ(t.SoundSqueak, 30);
  EXPECT_EQ(t.CPStart, 31);
  EXPECT_EQ(t.CPCnt, 32);
  EXPECT_EQ(t.CPEnd, 33);
  EXPECT_EQ(t.SoundStop, 34);
  EXPECT_EQ(t.SoundBuzzer, 35);
  EXPECT_EQ(t.SoundDepSign, 36);
  EXPECT_EQ(t.SoundATSWarn, 37);

  EXPECT_EQ(Tables("[Sound_EB]\n12\n13\n").SoundEB2, 13);
  // The second line is always taken, so a key directly after the first value is lost to it.
  EXPECT_EQ(VehicleFailure("[Sound_EB]\n12\n[Sound_Horn]\n3\n"), "車両ファイルに誤りがあります- 列車の基本設定");
}

TEST(VehicleTables, GearTypeTakesExactlyATOrMT) {
  struct Case {
    const char* text;
    int32_t gearType;
  };
  const Case cases[] = {
      {"[Gear_Type]\nMT\n", 1},
      {"[Gear_Type]\nMT\n[Gear_Type]\nAT\n", 0},
      {"[Gear_Type]\nMT\n[Gear_Type]\nmt\n", 1},   // lower case changes nothing
      {"[Gear_Type]\nMT\n[Gear_Type]\nAT \n", 1},  // nor does a trailing blank
      {"[Gear_Type]\r\nMT\r\n", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(Tables(c.text).Gear_Type, c.gearType) << c.text;
}

TEST(VehicleTables, NotchRowsAndModeStarts) {
  std::string text = "[Engine_Type]\n1\n[Notch]\n";
  const int modes[] = {0, 0, 1, 1, 1, 2};
  for (int m : modes) text += NotchRow("3.0", m);
  text += "#\n[CurrentP]\n400\n2.5\n35.5\n1,1000,-20,3,41\n2,1200.5,-10,4,42\n#\n";
  TVehicleTables t = Tables(text);
  ASSERT_EQ(t.Notch.size(), 6u);
  EXPECT_EQ(t.ModeStart[0], 0);
  EXPECT_EQ(t.ModeStart[1], 2);
  EXPECT_EQ(t.ModeStart[2], 5);
  EXPECT_EQ(t.ModeStart[3], 0);
  const TNotchRow& r = t.Notch[0];  // notch 1
  EXPECT_EQ(r.A0, 3.0L);
  EXPECT_EQ(r.A1, 2.5L);
  EXPECT_EQ(r.V1, 30);
  EXPECT_EQ(r.V2, 60);
  EXPECT_EQ(r.X, 0.98L);
  EXPECT_EQ(t.Notch[5].Mode, 2);

  EXPECT_EQ(t.CurrentP.Limit, 400);
  EXPECT_EQ(t.CurrentP.Accel, 2.5L);
  EXPECT_EQ(t.CurrentP.Speed, 35.5L);
  ASSERT_EQ(t.CurrentPCount, 2);
  EXPECT_EQ(t.CurrentP.Rows[1].MinNotch, 2);
  EXPECT_EQ(t.CurrentP.Rows[1].Ka, 1200.5L);
  EXPECT_EQ(t.CurrentP.Rows[1].Kb, -10.0L);
  EXPECT_EQ(t.CurrentP.Rows[1].HoldTicks, 4);
  EXPECT_EQ(t.CurrentP.Rows[1].StepSound, 42);
}

TEST(VehicleTables, TablesMustFitTheTrainKind) {
  const std::string notch = "[Notch]\n" + NotchRow("3.0", 0) + "#\n";
  const std::string engine = "[Engine]\n0\n0\n0\n0\n0\n0\n15\n20\n30\n900\n800\n600.5\n#\n";
  // The kind as read so far counts: a diesel is the default, so "[Engine_Type]" after the
  // table comes too late.
  EXPECT_EQ(VehicleFailure(notch + "[Engine_Type]\n1\n"), "動力が気動車なのにNotch指定があります");
  EXPECT_EQ(VehicleFailure("[Engine_Type]\n1\n" + engine), "動力が電車なのにEngine指定があります");
  EXPECT_EQ(VehicleFailure("[Engine_Type]\n1\n" + notch), "(loaded)");

  TVehicleTables t = Tables(engine + "[EngineRate]\n0,0\n500,32.5\n#\n");
  ASSERT_EQ(t.EngineRows, 2);
  EXPECT_EQ(t.Engine[1].S0, 15);
  EXPECT_EQ(t.Engine[1].S2, 30);
  EXPECT_EQ(t.Engine[1].F2, 600.5L);
  ASSERT_EQ(t.EngineRate.size(), 2u);
  EXPECT_EQ(t.EngineRate[1].Offset, 500);
  EXPECT_EQ(t.EngineRate[1].Slope, 32.5L);
}

TEST(VehicleTables, ListsKeepTheirCapacityAndReadOnPastIt) {
  std::string text = "[DriveSound]\n";
  for (int i = 0; i < 101; ++i) text += "sound\\run" + std::to_string(i) + ".wav\n";
  text += "#\n[Suppress]\n";
  for (int i = 1; i <= 11; ++i) text += std::to_string(i) + "\n";
  text += "#\n[BrakeCurr]\n";
  for (int i = 1; i <= 11; ++i) text += std::to_string(100 * i) + "\n";
  text += "#\n[PowerMode]\n";
  for (int i = 0; i < 11; ++i) text += "P" + std::to_string(i) + ",L" + std::to_string(i) + "\n";
  text += "#\n[EngineSound1]\n";
  for (int i = 0; i < 101; ++i) text += "m" + std::to_string(i) + "\n1\n1\n2\n3\n4\n0.5\n0.6\n0.7\n0.8\n-100\n-200\n-300\n-400\n";
  text += "#\n[EngineSound3]\n";
  for (int i = 0; i < 101; ++i) text += "h" + std::to_string(i) + "\n0\n2\n10\n20\n0.9\n1.1\n-500\n-50\n";
  text += "#\n[Sound_Horn]\n5\n";

  TVehicleTables t = Tables(text);
  EXPECT_EQ(t.DriveSoundCount, 100);
  EXPECT_EQ(t.DriveSound[0], "sound\\run0.wav");
  EXPECT_EQ(t.DriveSound[99], "sound\\run99.wav");
  EXPECT_EQ(t.SuppressCount, 10);
  EXPECT_EQ(t.Suppress[0], 0);  // counted from 1
  EXPECT_EQ(t.Suppress[1], 1);
  EXPECT_EQ(t.Suppress[10], 10);
  EXPECT_EQ(t.BrakeCurr[0], 0);  // brake position 1 is the first line
  EXPECT_EQ(t.BrakeCurr[1], 100);
  EXPECT_EQ(t.BrakeCurr[10], 1000);
  EXPECT_EQ(t.PowerModeCount, 10);
  EXPECT_EQ(t.PowerMode[9].Name, "P9");
  EXPECT_EQ(t.PowerMode[9].Label, "L9");
  EXPECT_EQ(t.MotorSoundCount, 100);
  const MotorSoundData& m = t.EngineSound1[99];
  EXPECT_EQ(m.index, "m99");
  EXPECT_EQ(m.kagen, 1);
  EXPECT_EQ(m.Speed1, 1.0L);
  EXPECT_EQ(m.Speed4, 4.0L);
  EXPECT_EQ(m.Rate1, 0.5L);
  EXPECT_EQ(m.Rate4, 0.8L);
  EXPECT_EQ(m.Volume1, -100.0L);
  EXPECT_EQ(m.Volume4, -400.0L);
  EXPECT_EQ(t.HensokuSoundCount, 100);
  const HensokuSoundData& h = t.EngineSound3[0];
  EXPECT_EQ(h.index, "h0");
  EXPECT_EQ(h.gear, 2);
  EXPECT_EQ(h.StartSpeed, 10.0L);
  EXPECT_EQ(h.EndSpeed, 20.0L);
  EXPECT_EQ(h.StartRate, 0.9L);
  EXPECT_EQ(h.EndRate, 1.1L);
  EXPECT_EQ(h.StartVolume, -500.0L);
  EXPECT_EQ(h.EndVolume, -50.0L);
  EXPECT_EQ(t.SoundHorn, 5);
}

TEST(VehicleTables, RepeatedListKeyReplacesTheEarlierList) {
  TVehicleTables t = Tables(
      "[DriveSound]\na.wav\nb.wav\n#\n[DriveSound]\nc.wav\n#\n"
      "[SwitchSound]\n1,20,0\n2,40,1\n#\n[SwitchSound]\n3,60,2\n#\n"
      "[PowerMode]\nA,a\nB,b\n#\n[PowerMode]\nC,c\n#\n");
  EXPECT_EQ(t.DriveSoundCount, 1);
  EXPECT_EQ(t.DriveSound[0], "c.wav");
  EXPECT_EQ(t.DriveSound[1], "");
  ASSERT_EQ(t.SwitchSoundCount, 1);
  EXPECT_EQ(t.SwitchSound[0].Channel, 3);
  EXPECT_EQ(t.SwitchSound[0].BelowSpeed, 60);
  EXPECT_EQ(t.SwitchSound[0].SwitchKind, 2);
  EXPECT_EQ(t.PowerModeCount, 1);
  EXPECT_EQ(t.PowerMode[0].Name, "C");
}

TEST(VehicleTables, ListAtTheEndOfTheFileEndsThere) {
  TVehicleTables t = Tables("[CurrentB]\n100.5,-5,0\n120,-3,1");
  ASSERT_EQ(t.CurrentBCount, 2);
  EXPECT_EQ(t.CurrentB[1].Ka, 120.0L);
  EXPECT_EQ(t.CurrentB[1].Kb, -3.0L);
  EXPECT_EQ(t.CurrentB[1].Third, 1);
  EXPECT_EQ(Tables("[EngineSound2]\n1\n2\n3\n4\n").EngineSound2, (std::array<int32_t, 4>{1, 2, 3, 4}));
}

TEST(VehicleTables, FailuresNameTheGroupBeingRead) {
  struct Case {
    std::string text;
    const char* title;
  };
  const Case cases[] = {
      {"[Sound_Horn4]\n1\n2\n", "- 列車の基本設定"},
      {"[SwitchSound]\n1,20\n#\n", "- 列車の基本設定"},  // a missing field reads "Error"
      {"[EngineRate]\n1;2\n#\n", "- 列車の基本設定"},
      {"[Brake]\n2\n[Sound_BK]\n1\n", "- 列車の基本設定"},
      {"[Engine_Type]\n1\n[Notch]\n3.0\n2.5\n30\n", "[Notch]"},  // a row cut short by the end
      {"[CurrentP]\n400\n2.5\n30\n1,1000,-20,3\n#\n", "[CurrentP]"},
      {"[BrakeCurr]\n100\nmany\n#\n", "[BrakeCurr]"},
      {"[CurrentB]\n100,x,0\n#\n", "[CurrentB]"},
      {"[Engine]\n0\n0\n0\n0\n0\n", "[Engine]"},
      {"[PowerMode]\nseries\n#\n", "[PowerMode]"},
      {"[Suppress]\n1\n2.5\n#\n", "[Suppress]"},
      {"[EngineSound1]\nm\n1\n2\n", "[EngineSound1]"},
      {"[EngineSound2]\n1\n2\n3\n", "[EngineSound2]"},
      {"[EngineSound3]\nh\n0\nfirst\n", "[EngineSound3]"},
      // The titles are only the loader's: a line that reads like one is a comment.
      {"- 速度計\n[Tons]\nheavy\n", "- 列車の基本設定"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VehicleFailure(c.text), std::string("車両ファイルに誤りがあります") + c.title) << c.text;
  EXPECT_EQ(VehicleFailure("[DriveSound]\n\n#\n[CurrentB]\n#\n"), "(loaded)");
}

}  // namespace
}  // namespace kavrin
