#pragma once
// Run state by name: the fields the headless trace and the value display show. Values are in the
// units the rest of the program uses; `Format` gives their trace text (integers and flags in
// decimal, fixed-point values with four decimals, reals as the shortest text that reads back to
// the same double, texts as quoted CSV fields).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/sim.h"
#include "core/fixed4.h"

namespace kavrin {

using ProbeValue = std::variant<int64_t, Fixed4, long double, std::string>;

class StateProbe {
 public:
  StateProbe();

  // A name as the trace and the value display know it: "Speed", "SignalAspect[3]" ...
  // Nothing for an unknown name or a row out of range.
  std::optional<ProbeValue> Read(const Sim& sim, std::string_view name) const;
  bool Known(std::string_view name) const;
  // Every name, indexed ones written with "[i]".
  std::vector<std::string> Names() const;

  static std::string Format(const ProbeValue& value);

 private:
  struct Entry {
    std::string name;
    std::function<ProbeValue(const Sim&)> get;
    // For indexed names: the number of rows and the value of row i.
    std::function<int(const Sim&)> count;
    std::function<ProbeValue(const Sim&, int)> row;
  };
  std::vector<Entry> entries_;
  const Entry* Find(std::string_view name, int& index) const;
  void Add(std::string name, std::function<ProbeValue(const Sim&)> get);
  void AddRows(std::string name, std::function<int(const Sim&)> count, std::function<ProbeValue(const Sim&, int)> row);
};

}  // namespace kavrin
