#pragma once
// The per-user store of settings, the controller map and the save slots. Keys are paths such as
// "Ostrel/Kavrin"; values are 32-bit integers or strings, as in the Windows registry.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kavrin {

class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  // Missing, or not an integer: nothing.
  virtual std::optional<int32_t> ReadInt(std::string_view key, std::string_view name) = 0;
  virtual std::optional<std::string> ReadString(std::string_view key, std::string_view name) = 0;
  // False when the value could not be written.
  virtual bool WriteInt(std::string_view key, std::string_view name, int32_t value) = 0;
  virtual bool WriteString(std::string_view key, std::string_view name, std::string_view value) = 0;
};

// Lives as long as the object: the store of the headless harness and of the tests.
class MemoryKeyValueStore : public KeyValueStore {
 public:
  std::optional<int32_t> ReadInt(std::string_view key, std::string_view name) override;
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) override;
  bool WriteInt(std::string_view key, std::string_view name, int32_t value) override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view value) override;

 private:
  struct Value {
    bool isInt = false;
    int32_t i = 0;
    std::string s;
  };
  std::map<std::string, Value> values_;
  static std::string Path(std::string_view key, std::string_view name);
};

}  // namespace kavrin
