#pragma once
// Run state by name: the fields the headless trace and the value display show. Each owner of
// state lists its own names beside its state; this table gathers them. Values are in the units
// the rest of the program uses; `Format` gives their trace text (integers and flags in decimal,
// fixed-point values with four decimals, reals as the shortest text that reads back to the same
// double, texts as quoted CSV fields).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sim.h"
#include "core/probe.h"

namespace kavrin {

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

  // One owner's names over the part of the run's state it owns.
  template <typename State, const State& (*Of)(const Sim&)>
  void AddOwner(TProbeNames<State> names) {
    for (const TProbeName<State>& n : names) {
      entries_.push_back({n.name, &n, n.row != nullptr, &ReadOwned<State, Of>, &CountOwned<State, Of>});
    }
  }

 private:
  struct Entry {
    std::string_view name;
    const void* probe;  // the owner's TProbeName
    bool rows;
    ProbeValue (*read)(const void* probe, const Sim& sim, int row);
    int (*count)(const void* probe, const Sim& sim);
  };
  template <typename State, const State& (*Of)(const Sim&)>
  static ProbeValue ReadOwned(const void* probe, const Sim& sim, int row) {
    const auto& n = *static_cast<const TProbeName<State>*>(probe);
    return n.row ? n.row(Of(sim), row) : n.get(Of(sim));
  }
  template <typename State, const State& (*Of)(const Sim&)>
  static int CountOwned(const void* probe, const Sim& sim) {
    const auto& n = *static_cast<const TProbeName<State>*>(probe);
    return n.count ? n.count(Of(sim)) : 0;
  }

  std::vector<Entry> entries_;
  const Entry* Find(std::string_view name, int& index) const;
};

}  // namespace kavrin
