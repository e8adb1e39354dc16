#include <gtest/gtest.h>

#include <QSettings>

#include "data/settings.h"
#include "platform/qsettings_store.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

TEST(QSettingsStore, SettingsSurviveARestartAsIniFiles) {
  test::TempDir dir;
  {
    QSettingsStore store(dir.str());
    WriteSettings(store, TSettings{1, 0, 1, 0, 1});
  }
  QSettingsStore again(dir.str());  // values come back from the file as strings
  TSettings s = ReadSettings(again);
  EXPECT_EQ(s.KankoSetting, 1);
  EXPECT_EQ(s.InformationSetting, 0);
  EXPECT_EQ(s.MojiSetting, 1);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Ostrel" / "Kavrin.conf"));
}

TEST(QSettingsStore, NativeFormatUnderTheUserConfigFolder) {
  test::TempDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.str()));
  QSettingsStore store;
  EXPECT_FALSE(store.ReadInt(kControllerKey, "P0"));
  EXPECT_TRUE(store.WriteString(kControllerKey, "P0", "x12"));
  EXPECT_FALSE(store.ReadInt(kControllerKey, "P0"));  // not an integer
  EXPECT_TRUE(store.WriteInt(kControllerKey, "P0", -3));
  EXPECT_EQ(store.ReadInt(kControllerKey, "P0"), -3);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Ostrel" / "Brenvik.conf"));
}

}  // namespace
}  // namespace kavrin
