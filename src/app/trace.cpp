#include "app/trace.h"

#include "core/text.h"

namespace kavrin {

TraceWriter::TraceWriter(std::ostream& out, const StateProbe& probe, std::vector<std::string> fields)
    : out_(out), probe_(probe), fields_(std::move(fields)) {
  out_ << "t_ms";
  for (const auto& f : fields_) out_ << ',' << f;
  out_ << '\n';
}

void TraceWriter::Row(int64_t tMs, const Sim& sim) {
  out_ << tMs;
  for (const auto& f : fields_) {
    out_ << ',';
    // A row that does not exist (an index beyond its table) is an empty field.
    if (auto v = probe_.Read(sim, f)) out_ << StateProbe::Format(*v);
  }
  out_ << '\n';
}

bool TraceWriter::ParseFields(const StateProbe& probe, const std::string& list, std::vector<std::string>& out,
                              std::string& error) {
  out.clear();
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    std::string name(TrimBlanks(std::string_view(list).substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    start = comma == std::string::npos ? list.size() + 1 : comma + 1;
    if (name.empty()) continue;
    if (!probe.Known(name)) {
      error = "unknown field: " + name + "\nknown fields:";
      for (const auto& n : probe.Names()) error += " " + n;
      return false;
    }
    out.push_back(name);
  }
  return true;
}

}  // namespace kavrin
