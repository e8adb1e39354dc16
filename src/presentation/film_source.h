#pragma once
// The frame source of the cab view: one AVI film open at a time, its length in frames and any
// frame of it as a picture. Frame n is the picture a player shows at the n-th frame time of
// the film's first video stream, counted from 0; an empty chunk (a frame the recorder dropped)
// shows the picture before it again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// A decoded frame: rows top to bottom, 4 bytes a pixel (R, G, B, A), alpha 255.
struct FilmFrame {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Rgba;
};

class FilmSource {
 public:
  // Results of AviOpen. Every code but Opened leaves no film open.
  static constexpr int32_t Opened = 0;
  static constexpr int32_t BadFormat = 1;     // not a film format this source reads
  static constexpr int32_t NoMemory = 2;
  static constexpr int32_t ReadError = 3;     // the system failed reading the file
  static constexpr int32_t OpenError = 4;     // missing, a folder, or not readable by this user
  static constexpr int32_t InfoError = 5;     // an AVI file whose header cannot be read
  static constexpr int32_t NoVideo = 6;       // no video stream
  static constexpr int32_t NoDecoder = 7;     // the video stream's format cannot be decoded

  virtual ~FilmSource() = default;

  // Releases the film that was open, then opens `path` (UTF-8).
  virtual int32_t AviOpen(const std::string& path) = 0;
  virtual bool IsOpen() const = 0;
  // Length in frames that the film's header gives for its video stream; 0 with no film open.
  virtual int32_t FilmLength() const = 0;
  // Frame n at the film's own size. False, leaving `picture` as it was, when no film is open or
  // n is not a frame of it or cannot be decoded.
  virtual bool AviFrame(int32_t n, FilmFrame& picture) = 0;
};

// The text the load shows for an AviOpen result; empty for Opened and unknown codes.
std::string AviOpenMessage(int32_t code, std::string_view path);

}  // namespace kavrin
