#pragma once
// The five settings that persist between runs and the controller map of the separate
// controller-configuration tool, both in the per-user store.
#include <array>
#include <cstdint>

#include "core/key_value_store.h"

namespace kavrin {

inline constexpr const char* kSettingsKey = "Ostrel/Kavrin";
inline constexpr const char* kControllerKey = "Ostrel/Brenvik";

struct TSettings {
  int32_t KankoSetting = 0;
  int32_t InformationSetting = 1;
  int32_t ATSSetting = 0;
  int32_t TunnelSetting = 0;
  int32_t MojiSetting = 0;
};

// The five values by their names in the store, in the order they are read and written.
struct TSettingField {
  const char* Name;
  int32_t TSettings::*Field;
};
inline constexpr std::array<TSettingField, 5> kSettingFields = {{
    {"Kanko", &TSettings::KankoSetting},
    {"Information", &TSettings::InformationSetting},
    {"ATS", &TSettings::ATSSetting},
    {"Tunnel", &TSettings::TunnelSetting},
    {"Moji", &TSettings::MojiSetting},
}};

inline constexpr std::array<const char*, 16> kControllerMapNames = {
    "P0", "P1", "P2", "P3", "P4", "P5", "B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "EB"};
using TControllerMap = std::array<int32_t, 16>;

// One value that cannot be read puts all five back to their defaults.
TSettings ReadSettings(KeyValueStore& store);
// Write errors are ignored.
void WriteSettings(KeyValueStore& store, const TSettings& settings);
// Values up to the first one that cannot be read; the rest stay 0.
TControllerMap ReadControllerMap(KeyValueStore& store);

}  // namespace kavrin
