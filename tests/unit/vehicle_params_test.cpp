#include <gtest/gtest.h>

#include "core/load_error.h"
#include "data/vehicle_params.h"
#include "support/vehicle_reader.h"

namespace kavrin {
namespace {

using test::ReadVehicleText;
using test::VehicleFailure;

TEST(VehicleParams, EveryKeyLandsInItsField) {
  const char* text =
      "[Handle]\r\n1\r\n[BrakeType]\r\n2\r\n[BrakeType2]\r\n1\r\n[Brake]\r\n8\r\n[Power]\r\n5\r\n"
      "[NotchBack]\r\n3\r\n[Hold]\r\n1\r\n[Pull]\r\n1\r\n[Const]\r\n4\r\n25\r\n[Back]\r\n1\r\n"
      "[BrakeRate]\r\n4.5\r\n3.7\r\n45\r\n[BrakeRate2]\r\n0.025\r\n"
      "[PowerDelay]\r\n6\r\n[BrakeDelay]\r\n7\r\n[EBrakeDelay]\r\n8\r\n[PowerJerk]\r\n9\r\n[SAPDelay]\r\n10\r\n"
      "[BrakeUp]\r\n11\r\n[BrakeDown]\r\n12\r\n[SAPUp]\r\n13\r\n[SAPDown]\r\n14\r\n[AmMeter]\r\n1\r\n150\r\n"
      "[EBrakeUp]\r\n15\r\n[EBrakeDown]\r\n16\r\n[EBrakeCurr]\r\n500\r\n2\r\n[BPReturn]\r\n17\r\n"
      "[MAXPress]\r\n440\r\n[EBPress]\r\n480\r\n[SAPPress]\r\n430\r\n[HighAirPress]\r\n880\r\n"
      "[LowAirPress]\r\n780\r\n[Engine_Type]\r\n1\r\n[DoorLock]\r\n1\r\n[Power_Type]\r\n1\r\n"
      "[Brake_Type]\r\n1\r\n[DoorType]\r\n3\r\n[Mt]\r\n140.5\r\n[Tt]\r\n90.25\r\n[Cars]\r\n6\r\n"
      "[Length]\r\n120\r\n[Tons]\r\n230.75\r\n[EB]\r\n1\r\n[MaxSpeed]\r\n110\r\n[Lose_elec]\r\n5\r\n7\r\n"
      "[ELBR]\r\n18\r\n[Mc]\r\n1\r\n[ATS_Type]\r\n2\r\n[ATS_Alert]\r\n1\r\n[ATS_Time]\r\n5\r\n[ATS_Cnt]\r\n1\r\n";
  const TVehicleParams v = ReadVehicleText(text).veh;
  EXPECT_EQ(v.Handle, 1);
  EXPECT_EQ(v.BrakeType, 2);
  EXPECT_EQ(v.BrakeType2, 1);
  EXPECT_EQ(v.Brake, 8);
  EXPECT_EQ(v.Power, 5);
  EXPECT_EQ(v.NotchBack, 3);
  EXPECT_EQ(v.Hold, 1);
  EXPECT_EQ(v.Pull, 1);
  EXPECT_EQ(v.ConstNotch, 4);
  EXPECT_EQ(v.ConstSpeed, 25);
  EXPECT_EQ(v.Back, 1);
  EXPECT_EQ(v.BrakeRate[0].raw, 45000);
  EXPECT_EQ(v.BrakeRate[1].raw, 37000);
  EXPECT_EQ(v.BrakeRate[2].raw, 450000);
  EXPECT_EQ(v.BrakeRate2, 0.025L);
  EXPECT_EQ(v.PowerDelay, 6);
  EXPECT_EQ(v.BrakeDelay, 7);
  EXPECT_EQ(v.EBrakeDelay, 8);
  EXPECT_EQ(v.PowerJerk, 9);
  EXPECT_EQ(v.SAPDelay, 10);
  EXPECT_EQ(v.BrakeUp, 11);
  EXPECT_EQ(v.BrakeDown, 12);
  EXPECT_EQ(v.SAPUp, 13);
  EXPECT_EQ(v.SAPDown, 14);
  EXPECT_EQ(v.AmMeterMode, 1);
  EXPECT_EQ(v.AmMeterScale, 150);
  EXPECT_EQ(v.EBrakeUp, 15);
  EXPECT_EQ(v.EBrakeDown, 16);
  EXPECT_EQ(v.EBrakeCurr[0], 500);
  EXPECT_EQ(v.EBrakeCurr[1], 2);
  EXPECT_EQ(v.BPReturn, 17);
  EXPECT_EQ(v.MAXPress, 440);
  EXPECT_EQ(v.EBPress, 480);
  EXPECT_EQ(v.SAPPress, 430);
  EXPECT_EQ(v.HighAirPress, 880);
  EXPECT_EQ(v.LowAirPress, 780);
  EXPECT_EQ(v.Engine_Type, 1);
  EXPECT_EQ(v.DoorLock, 1);
  EXPECT_EQ(v.Power_Type, 1);
  EXPECT_EQ(v.Brake_Type, 1);
  EXPECT_EQ(v.DoorType, 3);
  EXPECT_EQ(v.Mt.raw, 1405000);
  EXPECT_EQ(v.Tt.raw, 902500);
  EXPECT_EQ(v.Cars, 6);
  EXPECT_EQ(v.Length, 120);
  EXPECT_EQ(v.Tons.raw, 2307500);
  EXPECT_EQ(v.EB, 1);
  EXPECT_EQ(v.MaxSpeed, 110);
  EXPECT_EQ(v.LoseElec[0], 5);
  EXPECT_EQ(v.LoseElec[1], 7);
  EXPECT_EQ(v.ELBR, 18);
  EXPECT_EQ(v.Mc, 1);
  EXPECT_EQ(v.ATS_Type, 2);
  EXPECT_EQ(v.ATS_Alert, 1);
  EXPECT_EQ(v.ATS_Time, 5);
  EXPECT_EQ(v.ATS_Cnt, 1);
}

TEST(VehicleParams, KeysMatchOnTheirOwnLengthAndValueLinesMeetLaterKeys) {
  const TVehicleParams v = ReadVehicleText(
                               "[BrakeType]\n1\n"       // not "[Brake]"
                               "[Power_Type]\n1\n"      // not "[Power]"
                               " [Hold]\n1\n"           // indented: no key
                               "[EB] vigilance\n1\n"    // a comment after the key
                               "[Cars]\n6\n[Length]\n120\n"  // values followed directly by a key
                               "[MaxSpeed]\n90\n[MaxSpeed]\n100\n")  // the last one wins
                               .veh;
  EXPECT_EQ(v.BrakeType, 1);
  EXPECT_EQ(v.Brake, 0);
  EXPECT_EQ(v.Power_Type, 1);
  EXPECT_EQ(v.Power, 0);
  EXPECT_EQ(v.Hold, 0);
  EXPECT_EQ(v.EB, 1);
  EXPECT_EQ(v.Cars, 6);
  EXPECT_EQ(v.Length, 120);
  EXPECT_EQ(v.MaxSpeed, 100);
}

TEST(VehicleParams, FixedPointValuesRoundToFourDecimals) {
  const TVehicleParams v =
      ReadVehicleText("[BrakeRate]\n4.12346\n3.99996\n-0.00004\n[BrakeRate2]\n0.000149\n[Tons]\n100.00004\n").veh;
  EXPECT_EQ(v.BrakeRate[0].raw, 41235);
  EXPECT_EQ(v.BrakeRate[1].raw, 40000);
  EXPECT_EQ(v.BrakeRate[2].raw, 0);
  EXPECT_EQ(v.BrakeRate2, 0.0001L);
  EXPECT_EQ(v.Tons.raw, 1000000);
}

TEST(VehicleParams, BadValuesFailWithTheBasicGroupTitle) {
  const char* bad[] = {
      "[Handle]\r\n",                   // the file ends where the value should be
      "[Handle]",                       // not even a line end
      "[Brake]\r\nfour\r\n",
      "[Const]\r\n1\r\n",               // the second line is missing
      "[BrakeRate]\r\n4.5\r\n3,5\r\n40\r\n",  // a comma is no decimal point
      "[Tons]\r\n\r\n",
      "[Mt]\r\n12.5t\r\n",
  };
  for (const char* text : bad)
    EXPECT_EQ(VehicleFailure(text), "車両ファイルに誤りがあります- 列車の基本設定") << text;
}

TEST(VehicleParams, AFailureIsPlacedAtItsLineAndAReadFileLeavesItsLastLine) {
  try {
    ReadVehicleText("; 1000形\r\n[Tons]\r\n36\r\n[Brake]\r\nfour\r\n");
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "車両ファイルに誤りがあります- 列車の基本設定");
    EXPECT_EQ(e.Place().Line, 5u);
    EXPECT_EQ(e.Place().Label, "- 列車の基本設定");
    EXPECT_EQ(e.Place().Text, "four");
  }
  // What a route file that cannot be opened is reported with.
  TVehicleFile v = ReadVehicleText("[Tons]\r\n36\r\n; おわり\r\n");
  EXPECT_EQ(v.LeftLabel, "[Others]");
  EXPECT_EQ(v.LeftLine, "; おわり");
}

TEST(VehicleParams, FileThatCannotBeOpenedHasNoGroupTitle) {
  try {
    LoadVehicleFile("/nonexistent/train_1000.dat", nullptr);
    ADD_FAILURE();
  } catch (const LoadError& e) {
    EXPECT_STREQ(e.what(), "車両ファイルに誤りがあります");
  }
}

TEST(VehicleParams, BrakeHandleRule) {
  struct Case {
    int32_t brakeType, brake;
    bool fails;
    int32_t brakeAfter;
  };
  const Case cases[] = {
      {0, 0, false, 4},  {0, 9, false, 4},  // the automatic brake always has its named positions
      {1, 0, true, 0},   {2, 2, true, 2},   {1, 3, false, 3}, {2, 9, false, 9},
  };
  for (const Case& c : cases) {
    TVehicleParams v;
    v.BrakeType = c.brakeType;
    v.Brake = c.brake;
    try {
      SetUpBrakeHandle(v);
      EXPECT_FALSE(c.fails) << c.brakeType << "/" << c.brake;
    } catch (const LoadError& e) {
      EXPECT_TRUE(c.fails) << c.brakeType << "/" << c.brake;
      EXPECT_STREQ(e.what(), "ブレーキの段数を3段以上に設定してください");
    }
    EXPECT_EQ(v.Brake, c.brakeAfter) << c.brakeType << "/" << c.brake;
  }
}

TEST(VehicleParams, FileWithoutBrakeOnANumberedBrakeStopsAtSetUp) {
  TVehicleParams v = ReadVehicleText("[BrakeType]\n1\n[Power]\n4\n").veh;
  EXPECT_THROW(SetUpBrakeHandle(v), LoadError);
}

}  // namespace
}  // namespace kavrin
