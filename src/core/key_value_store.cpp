#include "core/key_value_store.h"

namespace kavrin {

std::string MemoryKeyValueStore::Path(std::string_view key, std::string_view name) {
  return std::string(key) + "/" + std::string(name);
}

std::optional<int32_t> MemoryKeyValueStore::ReadInt(std::string_view key, std::string_view name) {
  auto it = values_.find(Path(key, name));
  if (it == values_.end() || !it->second.isInt) return std::nullopt;
  return it->second.i;
}

std::optional<std::string> MemoryKeyValueStore::ReadString(std::string_view key, std::string_view name) {
  auto it = values_.find(Path(key, name));
  if (it == values_.end() || it->second.isInt) return std::nullopt;
  return it->second.s;
}

bool MemoryKeyValueStore::WriteInt(std::string_view key, std::string_view name, int32_t value) {
  values_[Path(key, name)] = Value{true, value, {}};
  return true;
}

bool MemoryKeyValueStore::WriteString(std::string_view key, std::string_view name, std::string_view value) {
  values_[Path(key, name)] = Value{false, 0, std::string(value)};
  return true;
}

}  // namespace kavrin
