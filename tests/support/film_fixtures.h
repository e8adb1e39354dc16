#pragma once
// Small films for the film source's tests. Every picture carries its own number as a row of
// black and white blocks, big enough to survive any of the lossy codecs, over a background
// that moves from frame to frame so that predicted frames have work to do.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "authoring/avi_writer.h"
#include "presentation/film_source.h"

namespace kavrin::test {

constexpr int kPatternBits = 12;
constexpr int kPatternBlock = 16;

// RGBA, top-down. The blocks sit in the top rows, so a picture turned upside down reads wrong.
inline std::vector<uint8_t> NumberedPicture(int width, int height, int n) {
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      int bit = x / kPatternBlock;
      if (y < kPatternBlock && bit < kPatternBits) {
        uint8_t v = (n >> bit) & 1 ? 235 : 20;
        p[0] = p[1] = p[2] = v;
      } else {
        p[0] = static_cast<uint8_t>(x * 2 + n * 3);
        p[1] = static_cast<uint8_t>(y * 3 + n * 5);
        p[2] = static_cast<uint8_t>(((x + y + n * 4) / 8) % 2 ? 200 : 60);
      }
      p[3] = 255;
    }
  }
  return rgba;
}

// The mean grey of the middle of a number block.
inline int BlockGrey(const FilmFrame& frame, int bit) {
  int sum = 0, count = 0;
  for (int y = 4; y < kPatternBlock - 4; ++y) {
    for (int x = bit * kPatternBlock + 4; x < (bit + 1) * kPatternBlock - 4; ++x) {
      const uint8_t* p = &frame.Rgba[(static_cast<size_t>(y) * frame.Width + x) * 4];
      sum += (p[0] + p[1] + p[2]) / 3;
      ++count;
    }
  }
  return sum / count;
}

// The number a decoded picture carries, or -1 when a block is neither black nor white.
inline int PictureNumber(const FilmFrame& frame) {
  if (frame.Width < kPatternBits * kPatternBlock || frame.Height < kPatternBlock) return -1;
  int n = 0;
  for (int bit = 0; bit < kPatternBits; ++bit) {
    int mean = BlockGrey(frame, bit);
    if (mean > 170) {
      n |= 1 << bit;
    } else if (mean > 85) {
      return -1;
    }
  }
  return n;
}

struct FilmSpec {
  FilmCodec Codec = FilmCodec::Mpeg4;
  int Width = 192;
  int Height = 64;
  int Frames = 47;
  int KeyInterval = 10;
  int BFrames = 0;
  std::vector<int> Gaps;  // frame numbers written as empty chunks (they show the picture before)
};

// Writes the film; false (with the writer's reason) when this machine cannot encode it.
inline bool WriteNumberedFilm(const std::string& path, const FilmSpec& shape, std::string* why = nullptr) {
  AviWriter writer;
  AviWriterOptions o;
  o.Codec = shape.Codec;
  o.Width = shape.Width;
  o.Height = shape.Height;
  o.KeyInterval = shape.KeyInterval;
  o.BFrames = shape.BFrames;
  o.Quality = 3;
  bool ok = writer.Open(path, o);
  for (int n = 0; ok && n < shape.Frames; ++n) {
    bool gap = false;
    for (int g : shape.Gaps) gap = gap || g == n;
    ok = gap ? writer.SkipFrame() : writer.WriteFrame(NumberedPicture(shape.Width, shape.Height, n).data());
  }
  ok = ok && writer.Close();
  if (!ok && why) *why = writer.Error();
  return ok;
}

// An AVI written byte by byte, as the old capture tools wrote them: an uncompressed bottom-up
// 24-bit video stream (frames given top-down RGBA, nullopt for an empty chunk) or, with no
// frames and `audio`, one PCM audio stream only. `videoCodec` other than 0 claims a compressed
// format that nothing decodes.
struct RawAvi {
  int Width = 32;
  int Height = 16;
  std::vector<std::optional<std::vector<uint8_t>>> Frames;
  bool Audio = false;
  bool Index = true;
  uint32_t VideoCodec = 0;
};

inline std::string RawAviBytes(const RawAvi& shape) {
  auto u32 = [](std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [](std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto chunk = [&](const char* id, const std::string& body) {
    std::string c(id, 4);
    u32(c, static_cast<uint32_t>(body.size()));
    c += body;
    if (body.size() % 2) c.push_back('\0');
    return c;
  };
  auto list = [&](const char* type, const std::string& body) { return chunk("LIST", std::string(type, 4) + body); };

  const bool video = !shape.Audio;
  const uint32_t stride = (static_cast<uint32_t>(shape.Width) * 3 + 3) & ~3u;
  const uint32_t frameBytes = stride * static_cast<uint32_t>(shape.Height);
  const uint32_t count = video ? static_cast<uint32_t>(shape.Frames.size()) : 10;

  std::string avih;
  u32(avih, 33333);
  u32(avih, frameBytes * 30);
  u32(avih, 0);
  u32(avih, shape.Index ? 0x10 : 0);
  u32(avih, count);
  u32(avih, 0);
  u32(avih, 1);
  u32(avih, frameBytes);
  u32(avih, static_cast<uint32_t>(shape.Width));
  u32(avih, static_cast<uint32_t>(shape.Height));
  for (int i = 0; i < 4; ++i) u32(avih, 0);

  std::string strh = video ? "vids" : "auds";
  u32(strh, video ? shape.VideoCodec : 0);
  u32(strh, 0);
  u16(strh, 0);
  u16(strh, 0);
  u32(strh, 0);
  u32(strh, video ? 1 : 1);          // scale
  u32(strh, video ? 30 : 8000);      // rate
  u32(strh, 0);                      // start
  u32(strh, video ? count : 8000);   // length
  u32(strh, video ? frameBytes : 800);
  u32(strh, 0xFFFFFFFF);
  u32(strh, video ? 0 : 1);          // sample size
  for (int i = 0; i < 4; ++i) u16(strh, 0);

  std::string strf;
  if (video) {
    u32(strf, 40);
    u32(strf, static_cast<uint32_t>(shape.Width));
    u32(strf, static_cast<uint32_t>(shape.Height));  // positive: rows bottom-up
    u16(strf, 1);
    u16(strf, 24);
    u32(strf, shape.VideoCodec);
    u32(strf, frameBytes);
    for (int i = 0; i < 4; ++i) u32(strf, 0);
  } else {
    u16(strf, 1);      // PCM
    u16(strf, 1);      // mono
    u32(strf, 8000);
    u32(strf, 8000);
    u16(strf, 1);
    u16(strf, 8);
  }

  std::string movi, idx1;
  uint32_t offset = 4;  // from the "movi" type
  auto add = [&](const char* id, const std::string& body, bool key) {
    std::string c = chunk(id, body);
    idx1 += std::string(id, 4);
    u32(idx1, key ? 0x10 : 0);
    u32(idx1, offset);
    u32(idx1, static_cast<uint32_t>(body.size()));
    offset += static_cast<uint32_t>(c.size());
    movi += c;
  };
  if (video) {
    for (const auto& f : shape.Frames) {
      std::string body;
      if (f) {
        body.assign(frameBytes, '\0');
        for (int y = 0; y < shape.Height; ++y) {
          const uint8_t* row = f->data() + static_cast<size_t>(shape.Height - 1 - y) * shape.Width * 4;
          for (int x = 0; x < shape.Width; ++x) {
            body[y * stride + x * 3 + 0] = static_cast<char>(row[x * 4 + 2]);
            body[y * stride + x * 3 + 1] = static_cast<char>(row[x * 4 + 1]);
            body[y * stride + x * 3 + 2] = static_cast<char>(row[x * 4 + 0]);
          }
        }
      }
      add("00db", body, true);
    }
  } else {
    add("00wb", std::string(800, '\x80'), true);
  }

  std::string riff = "AVI ";
  riff += list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
  riff += list("movi", movi);
  if (shape.Index) riff += chunk("idx1", idx1);
  return chunk("RIFF", riff);
}

// A second of 8 kHz mono silence.
inline std::string WavBytes() {
  std::string s = "RIFF";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&](uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  u32(36 + 8000);
  s += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(8000);
  u16(1);
  u16(8);
  s += "data";
  u32(8000);
  s += std::string(8000, '\x80');
  return s;
}

}  // namespace kavrin::test
