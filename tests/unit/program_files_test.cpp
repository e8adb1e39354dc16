#include <gtest/gtest.h>

#include "core/key_value_store.h"
#include "core/load_error.h"
#include "data/data_file.h"
#include "data/mascon_file.h"
#include "data/program_files.h"
#include "data/settings.h"
#include "data/string_file.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

const char* kGoodDisp = "[Disp]\r\n30,1.0\r\n0\r\n800\r\n600\r\n-\r\n";

TStringFile Read(const std::string& text) {
  DataFile f(text);
  return ReadStringFile(f);
}

TEST(StringFile, KeysMatchOnTheirOwnLengthOnly) {
  TStringFile s = Read(std::string(kGoodDisp) +
                       "[Stop2]\r\nstop2\r\n"
                       "[Stop] comment after the key\r\nstop\r\n"
                       " [Pass]\r\nnot read\r\n"
                       "[Hold2]\r\nhold2\r\n"
                       "[Forward]\r\nF1\r\n[Forward]\r\nF2\r\n");
  EXPECT_EQ(s.TxtStop2, "stop2");
  EXPECT_EQ(s.TxtStop, "stop");
  EXPECT_EQ(s.TxtPass, "");     // an indented key is no key
  EXPECT_EQ(s.TxtHold, "");     // "[Hold2]" is not "[Hold]"
  EXPECT_EQ(s.TxtHold2, "hold2");
  EXPECT_EQ(s.TxtForward, "F2");  // last occurrence wins
  EXPECT_EQ(s.DispRate, 30);
  EXPECT_EQ(s.FrameCountFactor, 1);
  EXPECT_EQ(s.ScreenWidth, 800);
  EXPECT_EQ(s.ScreenHeight, 600);
}

TEST(StringFile, ValueLineIsTestedAgainstLaterKeys) {
  // "[Path]" takes "[Reverse]" as its value; the same line is then the key "[Reverse]", whose
  // value is the next line.
  TStringFile s = Read("[Path]\r\n[Reverse]\r\nback\r\n");
  EXPECT_EQ(s.MoviePath, "[Reverse]");
  EXPECT_EQ(s.TxtReverse, "back");
}

TEST(StringFile, TextsListsAndCaptions) {
  TStringFile s = Read(std::string(kGoodDisp) +
                       "[Gears]\r\nN\r\nC\r\nD\r\n"
                       "[InfoLabel]\r\nzero\r\none\r\n#\r\n"
                       "[Start]\r\n開始(&S)\r\n");
  EXPECT_EQ(s.TxtGears[2], "D");
  EXPECT_EQ(s.InfoLabels[0], "zero");
  EXPECT_EQ(s.InfoLabels[1], "one");
  EXPECT_EQ(s.InfoLabels[2], "");
  EXPECT_EQ(s.StartCaption, "開始(&S)");
  EXPECT_EQ(s.MoveCaption, "Move");
}

TEST(StringFile, InfoLabelsKeepAtMostAHundredAndEndOfFileEndsTheList) {
  std::string text = "[InfoLabel]\n";
  for (int i = 0; i < 120; ++i) text += "L" + std::to_string(i) + "\n";
  TStringFile s = Read(text);
  EXPECT_EQ(s.InfoLabels[99], "L99");
}

TEST(StringFile, BadDispFailsTheWholeFile) {
  const char* bad[] = {
      "[Disp]\r\n30\r\n0\r\n800\r\n600\r\n-\r\n",   // one field: the second is "Error"
      "[Disp]\r\n30,1\r\n0\r\nwide\r\n600\r\n",      // not a number
      "[Disp]\r\n30,1\r\n0\r\n",                     // the file ends inside the values
  };
  for (const char* text : bad) {
    try {
      Read(text);
      ADD_FAILURE() << text;
    } catch (const LoadError& e) {
      EXPECT_STREQ(e.what(), "stringファイルに誤りがあります");
    }
  }
}

TEST(StringFile, Cp932FileWithCrLf) {
  test::TempDir dir;
  // "[Forward]" then "前" in CP932.
  std::string path = dir.Write("ostrel.dat", std::string(kGoodDisp) + "[Forward]\r\n\x91\x4F\r\n");
  EXPECT_EQ(LoadStringFile(path).TxtForward, "前");
  EXPECT_THROW(LoadStringFile(dir.str() + "missing.dat"), LoadError);
}

TEST(MasconFile, LinesUpToTheHash) {
  DataFile a("#first\nA1\n");
  EXPECT_EQ(ReadMasconFile(a).Count, 0);
  DataFile b("TSA50\nTSA45\n#\nTSA00\n");
  TMasconFile m = ReadMasconFile(b);
  EXPECT_EQ(m.Count, 2);
  EXPECT_EQ(m.MasconLines[1], "TSA45");
  std::string many;
  for (int i = 0; i < 30; ++i) many += "L" + std::to_string(i) + "\n";
  DataFile c(many);
  EXPECT_EQ(ReadMasconFile(c).Count, 26);
}

TEST(Settings, DefaultsAndTheAllOrNothingRule) {
  MemoryKeyValueStore empty;
  TSettings first = ReadSettings(empty);
  EXPECT_EQ(first.KankoSetting, 0);
  EXPECT_EQ(first.InformationSetting, 1);
  EXPECT_EQ(first.ATSSetting + first.TunnelSetting + first.MojiSetting, 0);
  EXPECT_EQ(ReadControllerMap(empty), TControllerMap{});

  MemoryKeyValueStore partial;  // "Kanko" = 1 but no "Moji": all five take their defaults
  for (const char* n : {"Kanko", "Information", "ATS", "Tunnel"}) partial.WriteInt(kSettingsKey, n, 1);
  EXPECT_EQ(ReadSettings(partial).KankoSetting, 0);
  EXPECT_EQ(ReadSettings(partial).InformationSetting, 1);

  MemoryKeyValueStore full;
  TSettings s{1, 0, 1, 1, 1};
  WriteSettings(full, s);
  TSettings back = ReadSettings(full);
  EXPECT_EQ(back.KankoSetting, 1);
  EXPECT_EQ(back.InformationSetting, 0);
  EXPECT_EQ(back.MojiSetting, 1);
}

TEST(Settings, ControllerMapKeepsWhatWasReadBeforeTheFirstFailure) {
  MemoryKeyValueStore store;
  store.WriteInt(kControllerKey, "P0", 10);
  store.WriteInt(kControllerKey, "P1", 11);
  store.WriteString(kControllerKey, "P2", "not a number");
  store.WriteInt(kControllerKey, "P3", 13);
  TControllerMap map = ReadControllerMap(store);
  EXPECT_EQ(map[0], 10);
  EXPECT_EQ(map[1], 11);
  EXPECT_EQ(map[2], 0);
  EXPECT_EQ(map[3], 0);
}

TEST(ProgramFiles, LoadsInOrderAndNamesTheFailingFile) {
  test::TempDir dir;
  MemoryKeyValueStore store;
  EXPECT_THROW(
      {
        try {
          LoadProgramFiles(dir.str(), store);
        } catch (const LoadError& e) {
          EXPECT_STREQ(e.what(), "mascon.datが見つかりません");
          throw;
        }
      },
      LoadError);
  dir.Write("mascon.dat", "A\r\n#\r\n");
  dir.Write("OSTREL.DAT", kGoodDisp);  // letter case of a Windows-made folder
  TProgramFiles p = LoadProgramFiles(dir.str(), store);
  EXPECT_EQ(p.Mascon.Count, 1);
  EXPECT_EQ(p.Strings.ScreenWidth, 800);
}

}  // namespace
}  // namespace kavrin
