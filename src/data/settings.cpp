#include "data/settings.h"

namespace kavrin {

TSettings ReadSettings(KeyValueStore& store) {
  TSettings read;
  for (const auto& f : kSettingFields) {
    auto v = store.ReadInt(kSettingsKey, f.Name);
    if (!v) return TSettings{};
    read.*f.Field = *v;
  }
  return read;
}

void WriteSettings(KeyValueStore& store, const TSettings& settings) {
  for (const auto& f : kSettingFields) store.WriteInt(kSettingsKey, f.Name, settings.*f.Field);
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
