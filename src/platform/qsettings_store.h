#pragma once
// The per-user store on QSettings. "Ostrel/Kavrin" is organisation "Ostrel", application
// "Kavrin" in the native format (the registry key on Windows, ~/.config/Ostrel/Kavrin.conf
// here). With a folder given, each key is the INI file folder/Ostrel/<application>.conf.
#include <memory>
#include <optional>
#include <string>

#include "core/key_value_store.h"

namespace kavrin {

class QSettingsStore : public KeyValueStore {
 public:
  QSettingsStore();
  explicit QSettingsStore(std::string folder);
  ~QSettingsStore() override;

  std::optional<int32_t> ReadInt(std::string_view key, std::string_view name) override;
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) override;
  bool WriteInt(std::string_view key, std::string_view name, int32_t value) override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view value) override;

 private:
  std::string folder_;
};

}  // namespace kavrin
