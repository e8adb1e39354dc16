#include "sound/wav_seconds.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>

namespace kavrin {

namespace {

uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

int32_t WavSeconds(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  in.seekg(0, std::ios::end);
  const std::streamoff fileSize = in.tellg();
  in.seekg(0);

  unsigned char riff[12];
  if (!in.read(reinterpret_cast<char*>(riff), sizeof riff)) return 0;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return 0;

  std::optional<uint32_t> byteRate;
  std::optional<uint64_t> dataBytes;
  std::streamoff at = 12;
  while ((!byteRate || !dataBytes) && at + 8 <= fileSize) {
    unsigned char header[8];
    in.seekg(at);
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) break;
    const uint32_t size = Le32(header + 4);
    const std::streamoff body = at + 8;
    if (std::memcmp(header, "fmt ", 4) == 0 && !byteRate) {
      unsigned char fmt[12];
      if (size < sizeof fmt || !in.read(reinterpret_cast<char*>(fmt), sizeof fmt)) return 0;
      byteRate = Le32(fmt + 8);
    } else if (std::memcmp(header, "data", 4) == 0 && !dataBytes) {
      dataBytes = std::min<uint64_t>(size, static_cast<uint64_t>(fileSize - body));
    }
    at = body + static_cast<std::streamoff>(size) + (size & 1);  // chunks are padded to even sizes
  }
  if (!byteRate || !dataBytes || *byteRate == 0) return 0;
  const uint64_t seconds = *dataBytes / *byteRate;
  return static_cast<int32_t>(std::min<uint64_t>(seconds, std::numeric_limits<int32_t>::max()));
}

}  // namespace kavrin
