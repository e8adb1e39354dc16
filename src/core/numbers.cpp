#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/text.h"

namespace kavrin {

namespace {

// from_chars refuses a leading "+", which hand-written files do use.
std::string_view NumberBody(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+' && (text.size() == 1 || text[1] != '-')) text.remove_prefix(1);
  return text;
}

}  // namespace

std::optional<int32_t> ParseInt(std::string_view text) {
  text = NumberBody(text);
  if (text.empty()) return std::nullopt;
  int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<long double> ParseReal(std::string_view text) {
  text = NumberBody(text);
  if (text.empty()) return std::nullopt;
  long double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<Fixed4> ParseFixed(std::string_view text) {
  auto real = ParseReal(text);
  // Beyond this the value times 10000 would not fit in 64 bits.
  if (!real || std::fabs(*real) > 9.2e14L) return std::nullopt;
  return Fixed4(*real);
}

std::string FormatReal(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("nan");
}

std::string FormatFixed(Fixed4 value) {
  int64_t raw = value.raw;
  bool negative = raw < 0;
  uint64_t mag = negative ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  std::string frac = std::to_string(mag % 10000);
  frac.insert(0, 4 - frac.size(), '0');
  return (negative ? "-" : "") + std::to_string(mag / 10000) + "." + frac;
}

}  // namespace kavrin
