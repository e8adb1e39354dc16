#pragma once
// Writes an AVI film from RGBA pictures with one of the codecs old films were made with. The
// demo generator renders its routes through this, and the film source's tests build their
// fixtures with it.
#include <cstdint>
#include <memory>
#include <string>

namespace kavrin {

enum class FilmCodec {
  Mjpeg,      // every frame a keyframe
  Mpeg4,      // MPEG-4 part 2 (the encoder of the FFmpeg family); B-frames on request
  Xvid,       // MPEG-4 part 2 through libxvid; with B-frames it writes packed B-frames
  MsMpeg4v2,  // "MP42"
  MsMpeg4v3,  // "DIV3"
  H264,       // through libx264
  Rgb,        // uncompressed 24-bit DIB
};

struct AviWriterOptions {
  FilmCodec Codec = FilmCodec::Mpeg4;
  int Width = 0;
  int Height = 0;
  int FrameRate = 30;
  int KeyInterval = 30;  // frames from one keyframe to the next
  int BFrames = 0;       // consecutive B-frames; codecs without them ignore it
  int Quality = 4;       // quantiser 1 (best) .. 31; for H.264 the constant rate factor is 6x it
};

class AviWriter {
 public:
  AviWriter();
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // False, with Error() saying why, when the file or the encoder cannot be set up (for example
  // when this machine's FFmpeg has no such encoder).
  bool Open(const std::string& path, const AviWriterOptions& options);
  // One picture of Width x Height pixels, rows top to bottom, 4 bytes a pixel (R, G, B, A).
  bool WriteFrame(const uint8_t* rgba);
  // Leaves a gap of one frame: an empty chunk, which players show as the previous picture. Only
  // for codecs without B-frames, and only between pictures (a gap at the very end is not
  // written).
  bool SkipFrame();
  // Drains the encoder and writes the index. The file is complete only after this returns true;
  // the destructor closes too, silently.
  bool Close();

  // Frames written so far, counting skipped ones.
  int64_t FrameCount() const;
  const std::string& Error() const { return error_; }
  static bool HasEncoder(FilmCodec codec);

 private:
  struct State;
  std::unique_ptr<State> s_;
  std::string error_;
};

}  // namespace kavrin
