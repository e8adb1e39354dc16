#pragma once
#include <string>
#include <string_view>

namespace kavrin {

// Text of a data file as UTF-8: valid UTF-8 (with or without a byte-order mark) is taken as it
// is, anything else is read as Shift-JIS (code page 932). Bytes that are not valid there become
// U+FFFD rather than ending the text.
std::string DecodeDataText(std::string_view bytes);

// UTF-8 to code page 932, for writing files that Windows-made tools read back. Characters the
// code page lacks become "?".
std::string EncodeCp932(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

}  // namespace kavrin
