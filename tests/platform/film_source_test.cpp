#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "authoring/avi_writer.h"
#include "platform/ffmpeg_film_source.h"
#include "support/files.h"
#include "support/film_fixtures.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

using test::FilmSpec;
using test::PictureNumber;

// The number frame n must show: a gap shows the picture before it.
int Expected(const FilmSpec& shape, int n) {
  while (n > 0 && std::find(shape.Gaps.begin(), shape.Gaps.end(), n) != shape.Gaps.end()) --n;
  return n;
}

TEST(FilmOpen, FailureCodesAndNoFilmAfterwards) {
  test::TempDir dir;
  std::string film = dir.str() + "film.avi";
  ASSERT_TRUE(test::WriteNumberedFilm(film, FilmSpec{}));
  std::string bytes = test::Slurp(film);
  std::filesystem::create_directories(dir.path() / "folder.avi");

  test::RawAvi unknownCodec;
  unknownCodec.VideoCodec = 0x5A5A5A5A;  // "ZZZZ"
  unknownCodec.Frames.push_back(std::vector<uint8_t>(32 * 16 * 4, 0));
  test::RawAvi audioOnly;
  audioOnly.Audio = true;

  const char mp4[] = "\0\0\0\x18" "ftypmp42\0\0\0\0mp42isom";
  const char riffJunk[] = "RIFF\x10\0\0\0AVI ";

  struct Case {
    const char* name;
    std::string bytes;  // written unless the case is about a missing file or a folder
    int32_t code;
  };
  const Case cases[] = {
      {"missing.avi", "", FilmSource::OpenError},
      {"folder.avi", "", FilmSource::OpenError},
      {"empty.avi", "", FilmSource::BadFormat},
      {"text.avi", "This is a route description, not a film.\r\n", FilmSource::BadFormat},
      {"film.mp4", std::string(mp4, sizeof mp4 - 1), FilmSource::BadFormat},
      {"header-cut.avi", bytes.substr(0, 200), FilmSource::InfoError},
      {"riff-junk.avi", std::string(riffJunk, sizeof riffJunk - 1) + std::string(64, '\x7f'), FilmSource::InfoError},
      {"sound.wav", test::WavBytes(), FilmSource::NoVideo},
      {"sound.avi", test::RawAviBytes(audioOnly), FilmSource::NoVideo},
      {"unknown-codec.avi", test::RawAviBytes(unknownCodec), FilmSource::NoDecoder},
  };
  for (const Case& c : cases) {
    std::string path = dir.str() + c.name;
    if (std::string(c.name) != "missing.avi" && std::string(c.name) != "folder.avi") dir.Write(c.name, c.bytes);
    for (auto mode : {FfmpegFilmSource::Mode::Decode, FfmpegFilmSource::Mode::HeaderOnly}) {
      FfmpegFilmSource source({mode});
      ASSERT_EQ(source.AviOpen(film), FilmSource::Opened);
      EXPECT_EQ(source.AviOpen(path), c.code) << c.name;
      // The film that was open is gone too.
      EXPECT_FALSE(source.IsOpen()) << c.name;
      EXPECT_EQ(source.FilmLength(), 0) << c.name;
      FilmFrame picture{2, 1, std::vector<uint8_t>(8, 7)};
      EXPECT_FALSE(source.AviFrame(0, picture)) << c.name;
      EXPECT_EQ(picture.Width, 2);
      EXPECT_EQ(picture.Rgba, std::vector<uint8_t>(8, 7));
    }
  }
}

TEST(FilmOpen, UnreadableFileIsAnOpenError) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  test::TempDir dir;
  std::string film = dir.str() + "locked.avi";
  ASSERT_TRUE(test::WriteNumberedFilm(film, FilmSpec{}));
  ASSERT_EQ(chmod(film.c_str(), 0), 0);
  FfmpegFilmSource source;
  EXPECT_EQ(source.AviOpen(film), FilmSource::OpenError);
}

TEST(FilmOpen, NamesAreFilesNotProtocols) {
  test::TempDir dir;
  ASSERT_TRUE(test::WriteNumberedFilm(dir.str() + "a:b.avi", FilmSpec{}));
  FfmpegFilmSource source;
  EXPECT_EQ(source.AviOpen(dir.str() + "a:b.avi"), FilmSource::Opened);
  // Relative names with a colon would otherwise be taken for a protocol.
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(source.AviOpen("a:b.avi"), FilmSource::Opened);
  EXPECT_EQ(source.AviOpen("pipe:0"), FilmSource::OpenError);
  std::filesystem::current_path(old);
}

TEST(FilmOpen, MessagesForEachCode) {
  const std::string path = "C:/映像/line_1.avi";
  const struct {
    int32_t code;
    std::string text;
  } cases[] = {
      {FilmSource::BadFormat, "映像ファイルを開けませんC:/映像/line_1.avi"},
      {FilmSource::NoMemory, "メモリ不足"},
      {FilmSource::ReadError, "読み取りエラー"},
      {FilmSource::OpenError, "オープンエラー"},
      {FilmSource::InfoError, "FileInfoエラー"},
      {FilmSource::NoVideo, "GetStreamエラー"},
      {FilmSource::NoDecoder, "GetFrameOpenエラー"},
      {FilmSource::Opened, ""},
      {8, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(AviOpenMessage(c.code, path), c.text) << c.code;
}

TEST(FilmOpen, OpeningAFilmReplacesTheOneOpen) {
  test::TempDir dir;
  FilmSpec longer, shorter;
  shorter.Frames = 12;
  shorter.Codec = FilmCodec::Mjpeg;
  ASSERT_TRUE(test::WriteNumberedFilm(dir.str() + "main.avi", longer));
  ASSERT_TRUE(test::WriteNumberedFilm(dir.str() + "insert.avi", shorter));
  FfmpegFilmSource source;
  ASSERT_EQ(source.AviOpen(dir.str() + "main.avi"), FilmSource::Opened);
  FilmFrame picture;
  ASSERT_TRUE(source.AviFrame(30, picture));
  EXPECT_EQ(PictureNumber(picture), 30);
  ASSERT_EQ(source.AviOpen(dir.str() + "insert.avi"), FilmSource::Opened);
  EXPECT_EQ(source.FilmLength(), 12);
  EXPECT_FALSE(source.AviFrame(30, picture));
  ASSERT_TRUE(source.AviFrame(11, picture));
  EXPECT_EQ(PictureNumber(picture), 11);
  ASSERT_EQ(source.AviOpen(dir.str() + "main.avi"), FilmSource::Opened);
  ASSERT_TRUE(source.AviFrame(30, picture));
  EXPECT_EQ(PictureNumber(picture), 30);
}

TEST(FilmOpen, HeaderOnlyGivesTheLengthAndDecodesNothing) {
  test::TempDir dir;
  FilmSpec shape;
  shape.Frames = 61;
  ASSERT_TRUE(test::WriteNumberedFilm(dir.str() + "f.avi", shape));
  FfmpegFilmSource source({FfmpegFilmSource::Mode::HeaderOnly});
  ASSERT_EQ(source.AviOpen(dir.str() + "f.avi"), FilmSource::Opened);
  EXPECT_TRUE(source.IsOpen());
  FfmpegFilmSource decoding;
  ASSERT_EQ(decoding.AviOpen(dir.str() + "f.avi"), FilmSource::Opened);
  EXPECT_EQ(source.FilmLength(), 61);
  EXPECT_EQ(decoding.FilmLength(), 61);
  FilmFrame picture;
  EXPECT_FALSE(source.AviFrame(0, picture));
  EXPECT_EQ(source.GetStats().PicturesDecoded, 0);
}

// Every codec, every way of moving through the film: the same pictures, each the right one.
struct CodecCase {
  const char* name;
  FilmSpec shape;
};

void PrintTo(const CodecCase& c, std::ostream* os) { *os << c.name; }

class FilmFrames : public testing::TestWithParam<CodecCase> {};

FilmSpec MakeFilm(FilmCodec codec, int keyInterval, int bFrames, std::vector<int> gaps = {}) {
  FilmSpec s;
  s.Codec = codec;
  s.KeyInterval = keyInterval;
  s.BFrames = bFrames;
  s.Gaps = std::move(gaps);
  return s;
}

TEST_P(FilmFrames, EveryFrameExactlyInAnyOrder) {
  const FilmSpec& shape = GetParam().shape;
  if (!AviWriter::HasEncoder(shape.Codec)) GTEST_SKIP() << "no encoder for " << GetParam().name;
  test::TempDir dir;
  std::string path = dir.str() + "film.avi";
  std::string why;
  ASSERT_TRUE(test::WriteNumberedFilm(path, shape, &why)) << why;
  const int n = shape.Frames;

  std::vector<std::vector<uint8_t>> forward(n);
  {
    FfmpegFilmSource source;
    ASSERT_EQ(source.AviOpen(path), FilmSource::Opened);
    EXPECT_EQ(source.FilmLength(), n);
    for (int i = 0; i < n; ++i) {
      FilmFrame f;
      ASSERT_TRUE(source.AviFrame(i, f)) << i;
      ASSERT_EQ(f.Width, shape.Width);
      ASSERT_EQ(f.Height, shape.Height);
      ASSERT_EQ(f.Rgba.size(), static_cast<size_t>(shape.Width * shape.Height * 4));
      EXPECT_EQ(PictureNumber(f), Expected(shape, i)) << "frame " << i;
      EXPECT_EQ(f.Rgba[3], 255);
      // Levels survive too (a full-range film read as limited range, or the other way round,
      // would stretch or squeeze them by a sixth).
      for (int bit = 0; bit < test::kPatternBits; ++bit) {
        int want = (Expected(shape, i) >> bit) & 1 ? 235 : 20;
        EXPECT_NEAR(test::BlockGrey(f, bit), want, 6) << "frame " << i << " block " << bit;
      }
      forward[i] = std::move(f.Rgba);
    }
    FilmFrame untouched{1, 1, {1, 2, 3, 4}};
    EXPECT_FALSE(source.AviFrame(-1, untouched));
    EXPECT_FALSE(source.AviFrame(n, untouched));
    EXPECT_EQ(untouched.Rgba, (std::vector<uint8_t>{1, 2, 3, 4}));
  }
  {
    FfmpegFilmSource source;
    ASSERT_EQ(source.AviOpen(path), FilmSource::Opened);
    for (int i = n - 1; i >= 0; --i) {
      FilmFrame f;
      ASSERT_TRUE(source.AviFrame(i, f)) << i;
      EXPECT_TRUE(f.Rgba == forward[i]) << "backward, frame " << i << " shows " << PictureNumber(f);
    }
  }
  for (size_t budget : {size_t{96} << 20, size_t{1}}) {  // with and without frames kept
    FfmpegFilmSource source({FfmpegFilmSource::Mode::Decode, budget});
    ASSERT_EQ(source.AviOpen(path), FilmSource::Opened);
    std::mt19937 random(7);
    for (int k = 0; k < 3 * n; ++k) {
      int i = static_cast<int>(random() % static_cast<unsigned>(n));
      if (k % 5 == 4) i = std::max(0, i - 1);  // small steps back, as when backing up slowly
      FilmFrame f;
      ASSERT_TRUE(source.AviFrame(i, f)) << i;
      EXPECT_TRUE(f.Rgba == forward[i]) << "random, frame " << i << " shows " << PictureNumber(f);
    }
    EXPECT_LE(source.GetStats().CachedFrames, budget == 1 ? 2u : static_cast<size_t>(n));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, FilmFrames,
    testing::Values(CodecCase{"Mjpeg", MakeFilm(FilmCodec::Mjpeg, 1, 0)},
                    CodecCase{"Mpeg4", MakeFilm(FilmCodec::Mpeg4, 10, 0)},
                    CodecCase{"Mpeg4OpenGopBFrames", MakeFilm(FilmCodec::Mpeg4, 10, 2)},
                    CodecCase{"XvidPackedBFrames", MakeFilm(FilmCodec::Xvid, 10, 2)},
                    CodecCase{"MsMpeg4v2", MakeFilm(FilmCodec::MsMpeg4v2, 10, 0)},
                    CodecCase{"MsMpeg4v3", MakeFilm(FilmCodec::MsMpeg4v3, 10, 0)},
                    CodecCase{"H264BFrames", MakeFilm(FilmCodec::H264, 10, 3)},
                    CodecCase{"Rgb", MakeFilm(FilmCodec::Rgb, 1, 0)},
                    CodecCase{"Mpeg4DroppedFrames", MakeFilm(FilmCodec::Mpeg4, 10, 0, {5, 6, 20, 31})}),
    [](const testing::TestParamInfo<CodecCase>& info) { return std::string(info.param.name); });

TEST(FilmFrames, UncompressedBottomUpWithEmptyChunksWithAndWithoutIndex) {
  test::TempDir dir;
  test::RawAvi raw;
  raw.Width = 192;
  raw.Height = 24;
  const int shown[] = {0, 1, -1, 3, -1, -1, 6};
  for (int s : shown) {
    if (s < 0) {
      raw.Frames.push_back(std::nullopt);
    } else {
      raw.Frames.push_back(test::NumberedPicture(raw.Width, raw.Height, s));
    }
  }
  for (bool index : {true, false}) {
    raw.Index = index;
    std::string path = dir.Write(index ? "indexed.avi" : "unindexed.avi", test::RawAviBytes(raw));
    FfmpegFilmSource source;
    ASSERT_EQ(source.AviOpen(path), FilmSource::Opened);
    EXPECT_EQ(source.FilmLength(), 7);
    const int expected[] = {0, 1, 1, 3, 3, 3, 6};
    for (int i : {6, 5, 4, 3, 2, 1, 0, 2, 5}) {
      FilmFrame f;
      ASSERT_TRUE(source.AviFrame(i, f)) << i;
      EXPECT_EQ(PictureNumber(f), expected[i]) << "frame " << i << (index ? "" : " without index");
    }
  }
}

// Going backwards through a film decodes about as much as going forwards: the frames of a
// group are decoded once, not once per frame, and a few at a time.
TEST(FilmFrames, BackwardPlayDecodesEachGroupAboutOnce) {
  test::TempDir dir;
  for (int bFrames : {0, 2}) {
    FilmSpec shape = MakeFilm(FilmCodec::Mpeg4, 12, bFrames);
    shape.Frames = 120;
    std::string path = dir.str() + "film" + std::to_string(bFrames) + ".avi";
    ASSERT_TRUE(test::WriteNumberedFilm(path, shape));
    FfmpegFilmSource forward, backward;
    ASSERT_EQ(forward.AviOpen(path), FilmSource::Opened);
    ASSERT_EQ(backward.AviOpen(path), FilmSource::Opened);
    FilmFrame f;
    for (int i = 0; i < shape.Frames; ++i) ASSERT_TRUE(forward.AviFrame(i, f));
    int64_t worstStep = 0;
    for (int i = shape.Frames - 1; i >= 0; --i) {
      int64_t before = backward.GetStats().PicturesDecoded;
      ASSERT_TRUE(backward.AviFrame(i, f));
      ASSERT_EQ(PictureNumber(f), i);
      if (i < shape.Frames - 1) worstStep = std::max(worstStep, backward.GetStats().PicturesDecoded - before);
    }
    int64_t ahead = forward.GetStats().PicturesDecoded;
    int64_t back = backward.GetStats().PicturesDecoded;
    EXPECT_LE(ahead, shape.Frames + 2 * shape.KeyInterval) << bFrames << " B-frames";
    EXPECT_LE(back, shape.Frames * 3 / 2) << bFrames << " B-frames";
    // Nor does a step back into the group before stall on decoding that whole group.
    EXPECT_LE(worstStep, shape.KeyInterval / 3) << bFrames << " B-frames";
    EXPECT_LE(forward.GetStats().Seeks, 1);
  }
}

TEST(FilmFrames, KeptFramesStayWithinTheBudget) {
  test::TempDir dir;
  FilmSpec shape = MakeFilm(FilmCodec::Mpeg4, 30, 2);
  shape.Frames = 90;
  std::string path = dir.str() + "film.avi";
  ASSERT_TRUE(test::WriteNumberedFilm(path, shape));
  const size_t picture = static_cast<size_t>(shape.Width) * shape.Height * 3 / 2;  // 4:2:0
  const size_t budget = 8 * picture;
  FfmpegFilmSource source({FfmpegFilmSource::Mode::Decode, budget});
  ASSERT_EQ(source.AviOpen(path), FilmSource::Opened);
  FilmFrame f;
  for (int i = shape.Frames - 1; i >= 0; i -= 3) {
    ASSERT_TRUE(source.AviFrame(i, f));
    EXPECT_EQ(PictureNumber(f), i);
    // Buffers are padded and aligned; a frame costs somewhat more than its pixels.
    EXPECT_LE(source.GetStats().CachedBytes, budget * 2) << i;
    EXPECT_LE(source.GetStats().CachedFrames, 12u) << i;
  }
}

// Damaged films: a cut-off recording, a file with bytes gone wrong. Nothing may crash, and a
// cut-off film plays up to where it breaks off.
TEST(FilmRobustness, CutOffFilmsPlayUpToTheCut) {
  test::TempDir dir;
  for (int bFrames : {0, 2}) {
    FilmSpec shape = MakeFilm(FilmCodec::Mpeg4, 10, bFrames);
    shape.Frames = 80;
    std::string whole = dir.str() + "whole.avi";
    ASSERT_TRUE(test::WriteNumberedFilm(whole, shape));
    std::string bytes = test::Slurp(whole);
    for (double part : {0.3, 0.5, 0.8, 0.99, 0.9999}) {
      std::string path = dir.Write("cut.avi", bytes.substr(0, static_cast<size_t>(bytes.size() * part)));
      FfmpegFilmSource source;
      ASSERT_EQ(source.AviOpen(path), FilmSource::Opened) << part;
      EXPECT_EQ(source.FilmLength(), shape.Frames) << "the header still says so";
      int decoded = 0;
      for (int i : {0, 1, 15, 14, 13, 40, 79, 78, 20, 60, 61, 62, 80, 3}) {
        FilmFrame f;
        if (!source.AviFrame(i, f)) continue;
        ++decoded;
        int shown = PictureNumber(f);
        EXPECT_GE(shown, 0) << part << " frame " << i;
        EXPECT_LE(shown, i) << part << " frame " << i;
      }
      EXPECT_GT(decoded, 3) << part;
      // Without the index at the end of the file, the frame table still reaches up to the cut.
      FilmFrame f;
      int inside = static_cast<int>(shape.Frames * part * 0.6);
      ASSERT_TRUE(source.AviFrame(inside, f)) << part;
      EXPECT_EQ(PictureNumber(f), inside) << part;
    }
  }
}

TEST(FilmRobustness, GarbledBytesNeverCrash) {
  test::TempDir dir;
  FilmSpec shape = MakeFilm(FilmCodec::Mpeg4, 10, 2);
  shape.Frames = 40;
  std::string whole = dir.str() + "whole.avi";
  ASSERT_TRUE(test::WriteNumberedFilm(whole, shape));
  const std::string bytes = test::Slurp(whole);
  std::mt19937 random(11);
  for (int round = 0; round < 40; ++round) {
    std::string garbled = bytes;
    int flips = 1 + static_cast<int>(random() % 60);
    // The first rounds hit the header, the others anywhere.
    size_t span = round < 15 ? std::min<size_t>(garbled.size(), 2048) : garbled.size();
    for (int k = 0; k < flips; ++k) garbled[random() % span] = static_cast<char>(random());
    std::string path = dir.Write("garbled.avi", garbled);
    for (auto mode : {FfmpegFilmSource::Mode::HeaderOnly, FfmpegFilmSource::Mode::Decode}) {
      FfmpegFilmSource source({mode, size_t{4} << 20});
      int32_t code = source.AviOpen(path);
      EXPECT_GE(code, 0);
      EXPECT_LE(code, 7);
      if (code != FilmSource::Opened) {
        EXPECT_FALSE(source.IsOpen());
        continue;
      }
      EXPECT_GE(source.FilmLength(), 0);
      FilmFrame f;
      for (int i : {0, 39, 38, 5, 25, 24, 23, 1, 2, 3, 100000, -5}) source.AviFrame(i, f);
    }
  }
}

TEST(AviWriter, RefusesWhatItCannotWrite) {
  test::TempDir dir;
  AviWriter writer;
  AviWriterOptions odd;
  odd.Width = 33;
  odd.Height = 16;
  EXPECT_FALSE(writer.Open(dir.str() + "odd.avi", odd));
  EXPECT_FALSE(writer.Error().empty());
  AviWriterOptions fine;
  fine.Width = 32;
  fine.Height = 16;
  EXPECT_FALSE(writer.Open(dir.str() + "no/such/folder/film.avi", fine));
  EXPECT_FALSE(writer.WriteFrame(std::vector<uint8_t>(32 * 16 * 4).data()));
  fine.BFrames = 2;
  ASSERT_TRUE(writer.Open(dir.str() + "b.avi", fine));
  EXPECT_FALSE(writer.SkipFrame());  // a gap cannot sit between reordered pictures
  EXPECT_TRUE(writer.Close());
}

}  // namespace
}  // namespace kavrin
