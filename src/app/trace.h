#pragma once
// The headless trace: CSV with a header "t_ms," + field names, then one row per tick.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/state_probe.h"

namespace kavrin {

class TraceWriter {
 public:
  TraceWriter(std::ostream& out, const StateProbe& probe, std::vector<std::string> fields);
  void Row(int64_t tMs, const Sim& sim);

  // Splits "A,B,C" and checks every name; on an unknown one returns false with a message that
  // lists the known names.
  static bool ParseFields(const StateProbe& probe, const std::string& list, std::vector<std::string>& out,
                          std::string& error);

 private:
  std::ostream& out_;
  const StateProbe& probe_;
  std::vector<std::string> fields_;
};

}  // namespace kavrin
