#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sound/wav_seconds.h"
#include "sound/wav_writer.h"
#include "support/files.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::string Chunk(const std::string& id, const std::string& body) {
  std::string s = id + Le(static_cast<uint32_t>(body.size()), 4) + body;
  if (body.size() % 2) s += '\0';
  return s;
}

// A format chunk body for 16-bit PCM; `extra` appends the cbSize field of the extended form.
std::string Fmt(uint32_t rate, int channels, uint32_t byteRate, bool extra = false) {
  std::string s = Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(byteRate, 4) + Le(2 * channels, 2) + Le(16, 2);
  if (extra) s += Le(0, 2);
  return s;
}

std::string Riff(const std::string& chunks) { return "RIFF" + Le(static_cast<uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks; }

TEST(WavSeconds, DataBytesOverByteRateWhereverTheChunksSit) {
  test::TempDir dir;
  const std::string list = Chunk("LIST", "INFOISFT" + Le(5, 4) + "abcd");
  struct Case {
    const char* name;
    std::string bytes;
    int32_t seconds;
  };
  const Case cases[] = {
      {"canonical 10 s", Riff(Chunk("fmt ", Fmt(22050, 1, 44100)) + Chunk("data", std::string(441000, '\0'))), 10},
      {"one byte short", Riff(Chunk("fmt ", Fmt(22050, 1, 44100)) + Chunk("data", std::string(440999, '\0'))), 9},
      // Byte 40 holds neither the data size in these two files.
      {"LIST before data", Riff(Chunk("fmt ", Fmt(22050, 1, 44100)) + list + Chunk("data", std::string(88200, '\0'))), 2},
      {"18-byte format", Riff(Chunk("fmt ", Fmt(22050, 1, 44100, true)) + Chunk("data", std::string(132300, '\0'))), 3},
      {"odd chunk padded", Riff(Chunk("junk", "xyz") + Chunk("fmt ", Fmt(8000, 1, 16000)) + Chunk("data", std::string(48000, '\0'))), 3},
      {"data before format", Riff(Chunk("data", std::string(88200, '\0')) + Chunk("fmt ", Fmt(22050, 1, 44100))), 2},
      {"zero byte rate", Riff(Chunk("fmt ", Fmt(22050, 1, 0)) + Chunk("data", std::string(1000, '\0'))), 0},
      {"no data chunk", Riff(Chunk("fmt ", Fmt(22050, 1, 44100))), 0},
      {"not a WAV", "RIFF" + Le(4, 4) + "AVI " + std::string(40, '\0'), 0},
      {"short file", "RIFF", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WavSeconds(dir.Write("a.wav", c.bytes)), c.seconds) << c.name;
  }
  // A data chunk that claims more than the file holds counts what is there.
  std::string truncated = Riff(Chunk("fmt ", Fmt(22050, 1, 44100)) + Chunk("data", std::string(441000, '\0')));
  truncated.resize(44 + 100000);
  EXPECT_EQ(WavSeconds(dir.Write("t.wav", truncated)), 2);
  EXPECT_EQ(WavSeconds(dir.str() + "missing.wav"), 0);
}

TEST(WriteWav, CanonicalHeaderAndSampleCoding) {
  test::TempDir dir;
  const std::vector<float> samples = {0.0f, 0.5f, -1.0f, 1.0f, -0.25f, 0.0f};
  struct Case {
    int bits;
    WavEncoding encoding;
    std::string data;
  };
  auto f32 = [](float x) {
    uint32_t v;
    std::memcpy(&v, &x, 4);
    return Le(v, 4);
  };
  const Case cases[] = {
      {8, WavEncoding::Pcm, std::string("\x80\xC0\x00\xFF\x60\x80", 6)},
      {16, WavEncoding::Pcm, Le(0, 2) + Le(0x4000, 2) + Le(0x8000, 2) + Le(0x7FFF, 2) + Le(0xE000, 2) + Le(0, 2)},
      {24, WavEncoding::Pcm, Le(0, 3) + Le(0x400000, 3) + Le(0x800000, 3) + Le(0x7FFFFF, 3) + Le(0xE00000, 3) + Le(0, 3)},
      {32, WavEncoding::Pcm, Le(0, 4) + Le(0x40000000, 4) + Le(0x80000000, 4) + Le(0x7FFFFFFF, 4) + Le(0xE0000000, 4) + Le(0, 4)},
      {32, WavEncoding::Float, f32(0) + f32(0.5f) + f32(-1) + f32(1) + f32(-0.25f) + f32(0)},
  };
  for (const auto& c : cases) {
    const std::string path = dir.str() + "w.wav";
    ASSERT_TRUE(WriteWav(path, 11025, 2, c.bits, samples, c.encoding)) << c.bits;
    const int block = 2 * c.bits / 8;
    const std::string expected =
        Riff(Chunk("fmt ", Le(c.encoding == WavEncoding::Float ? 3 : 1, 2) + Le(2, 2) + Le(11025, 4) +
                               Le(11025 * block, 4) + Le(block, 2) + Le(c.bits, 2)) +
             Chunk("data", c.data));
    EXPECT_EQ(test::Slurp(path), expected) << c.bits;
  }
  // An odd number of data bytes is padded, and the length reads back.
  const std::string odd = dir.str() + "odd.wav";
  ASSERT_TRUE(WriteWav(odd, 8000, 1, 8, std::vector<float>(24001, 0.0f)));
  EXPECT_EQ(test::Slurp(odd).size(), 44u + 24002u);
  EXPECT_EQ(WavSeconds(odd), 3);

  EXPECT_FALSE(WriteWav(dir.str() + "x.wav", 8000, 2, 16, std::vector<float>(3, 0.0f)));  // partial frame
  EXPECT_FALSE(WriteWav(dir.str() + "x.wav", 8000, 1, 12, samples));
  EXPECT_FALSE(WriteWav(dir.str() + "x.wav", 8000, 1, 16, samples, WavEncoding::Float));
  EXPECT_FALSE(WriteWav(dir.str() + "x.wav", 0, 1, 16, samples));
  EXPECT_FALSE(WriteWav(dir.str() + "no/such/folder/x.wav", 8000, 1, 16, samples));
}

}  // namespace
}  // namespace kavrin
