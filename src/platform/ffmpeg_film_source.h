#pragma once
// The film source on FFmpeg. It reads AVI (and WAV, which can only fail with NoVideo) and
// decodes any frame exactly, also in films with B-frames whose chunks carry no presentation
// times: frames are counted from the chunk times of the index, and a group of pictures that
// may begin with B-frames from the group before is decoded from that earlier group.
//
// Frames decoded on the way to the one asked for are kept, up to a memory budget, nearest to
// the frame asked for last; so a film played backwards decodes each group once and not once a
// frame.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "presentation/film_source.h"

namespace kavrin {

class FfmpegFilmSource : public FilmSource {
 public:
  enum class Mode {
    Decode,
    // Reads the header only (length, video stream, whether a decoder exists) and decodes
    // nothing: for runs without a picture, which need the length alone.
    HeaderOnly,
  };
  struct Options {
    Mode mode = Mode::Decode;
    // Decoded frames kept for going back and forth; at least two are kept whatever it says.
    size_t CacheBytes = size_t{96} << 20;
  };

  FfmpegFilmSource();
  explicit FfmpegFilmSource(Options options);
  ~FfmpegFilmSource() override;
  FfmpegFilmSource(const FfmpegFilmSource&) = delete;
  FfmpegFilmSource& operator=(const FfmpegFilmSource&) = delete;

  int32_t AviOpen(const std::string& path) override;
  bool IsOpen() const override;
  int32_t FilmLength() const override;
  bool AviFrame(int32_t n, FilmFrame& picture) override;
  void Close();

  // What the decoding has cost so far, for tests and measurements.
  struct Stats {
    int64_t PicturesDecoded = 0;
    int64_t Seeks = 0;
    size_t CachedFrames = 0;
    size_t CachedBytes = 0;
  };
  Stats GetStats() const;

 private:
  struct Film;
  Options options_;
  std::unique_ptr<Film> film_;
};

}  // namespace kavrin
