#pragma once
#include <cstdint>
#include <string>

namespace kavrin {

// Playing time of a WAV file in whole seconds: the bytes of its "data" chunk divided by the
// average bytes per second of its "fmt " chunk, truncated. The chunks are found by walking the
// RIFF list, so a LIST chunk or an extended format chunk before the data does not matter; a data
// chunk that claims more bytes than the file holds counts what is there. 0 when the file cannot
// be read, is no WAV file or states no byte rate.
int32_t WavSeconds(const std::string& path);

}  // namespace kavrin
