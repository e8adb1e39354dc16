#pragma once
// Locale-free number reading and writing: data files always use "." and never group digits,
// whatever locale the toolkit has put in force.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/fixed4.h"

namespace kavrin {

// A decimal integer filling the text (blanks around it allowed, an optional sign).
std::optional<int32_t> ParseInt(std::string_view text);
// A decimal number with "." as the decimal point, optionally with an exponent.
std::optional<long double> ParseReal(std::string_view text);
// A decimal number rounded to the nearest 1/10000.
std::optional<Fixed4> ParseFixed(std::string_view text);

// The shortest text that reads back to the same double.
std::string FormatReal(double value);
// Exactly four decimals.
std::string FormatFixed(Fixed4 value);

}  // namespace kavrin
