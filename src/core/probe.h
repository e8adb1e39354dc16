#pragma once
// State by name, as each owner of state lists its own: the fields the headless trace and the
// value display show. An owner declares a table of names next to its state, each with plain
// function pointers over that state alone, so the owner's folder needs nothing of the run that
// gathers the tables.
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "core/fixed4.h"

namespace kavrin {

using ProbeValue = std::variant<int64_t, Fixed4, long double, std::string>;

// Integers and flags of any width read as one kind.
inline ProbeValue ProbeInt(int64_t v) { return v; }

// One name of an owner's state: a single value (`get`), or rows (`count` and `row`, read as
// "Name[i]").
template <typename State>
struct TProbeName {
  const char* name;
  ProbeValue (*get)(const State&) = nullptr;
  int (*count)(const State&) = nullptr;
  ProbeValue (*row)(const State&, int) = nullptr;
};

template <typename State>
using TProbeNames = std::span<const TProbeName<State>>;

}  // namespace kavrin
