#include "data/settings.h"

namespace kavrin {

namespace {

struct SettingField {
  const char* name;
  int32_t TSettings::*field;
};

constexpr SettingField kSettingFields[] = {
    {"Kanko", &TSettings::KankoSetting},   {"Information", &TSettings::InformationSetting},
    {"ATS", &TSettings::ATSSetting},       {"Tunnel", &TSettings::TunnelSetting},
    {"Moji", &TSettings::MojiSetting},
};

}  // namespace

TSettings ReadSettings(KeyValueStore& store) {
  TSettings read;
  for (const auto& f : kSettingFields) {
    auto v = store.ReadInt(kSettingsKey, f.name);
    if (!v) return TSettings{};
    read.*f.field = *v;
  }
  return read;
}

void WriteSettings(KeyValueStore& store, const TSettings& settings) {
  for (const auto& f : kSettingFields) store.WriteInt(kSettingsKey, f.name, settings.*f.field);
}

TControllerMap ReadControllerMap(KeyValueStore& store) {
  TControllerMap map{};
  for (size_t i = 0; i < kControllerMapNames.size(); ++i) {
    auto v = store.ReadInt(kControllerKey, kControllerMapNames[i]);
    if (!v) break;
    map[i] = *v;
  }
  return map;
}

}  // namespace kavrin
