#include "authoring/avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace kavrin {

namespace {

const char* EncoderName(FilmCodec codec) {
  switch (codec) {
    case FilmCodec::Mjpeg: return "mjpeg";
    case FilmCodec::Mpeg4: return "mpeg4";
    case FilmCodec::Xvid: return "libxvid";
    case FilmCodec::MsMpeg4v2: return "msmpeg4v2";
    case FilmCodec::MsMpeg4v3: return "msmpeg4";
    case FilmCodec::H264: return "libx264";
    case FilmCodec::Rgb: return "rawvideo";
  }
  return "";
}

AVPixelFormat EncoderFormat(FilmCodec codec) {
  switch (codec) {
    case FilmCodec::Mjpeg: return AV_PIX_FMT_YUVJ420P;
    case FilmCodec::Rgb: return AV_PIX_FMT_BGR24;
    default: return AV_PIX_FMT_YUV420P;
  }
}

bool HasBFrames(FilmCodec codec) {
  return codec == FilmCodec::Mpeg4 || codec == FilmCodec::Xvid || codec == FilmCodec::H264;
}

std::string AvError(int err) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, text, sizeof text);
  return text;
}

}  // namespace

struct AviWriter::State {
  AviWriterOptions options;
  AVFormatContext* format = nullptr;
  AVCodecContext* encoder = nullptr;
  AVStream* stream = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  int64_t nextPts = 0;
  int64_t packetCount = 0;
  bool packedBFrames = false;
  bool headerWritten = false;

  ~State() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    sws_freeContext(scaler);
    avcodec_free_context(&encoder);
    if (format) {
      if (format->pb) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }

  // Sends one picture (or the end, with nullptr) and writes whatever the encoder has ready.
  int Encode(AVFrame* picture) {
    int err = avcodec_send_frame(encoder, picture);
    if (err < 0) return err;
    for (;;) {
      err = avcodec_receive_packet(encoder, packet);
      if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return 0;
      if (err < 0) return err;
      if (packedBFrames) {
        // libxvid stamps a packet with the input that released it, which would start the film
        // with a gap as long as the B-frame delay. Packed B-frames need no delay: chunk k is
        // picture k. What the padding of Close() releases beyond the last picture is dropped.
        if (packetCount >= nextPts) {
          av_packet_unref(packet);
          continue;
        }
        packet->pts = packet->dts = packetCount;
      }
      ++packetCount;
      av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
      packet->stream_index = stream->index;
      err = av_interleaved_write_frame(format, packet);
      if (err < 0) return err;
    }
  }
};

AviWriter::AviWriter() = default;
AviWriter::~AviWriter() {
  if (s_ && s_->headerWritten) Close();
}

bool AviWriter::HasEncoder(FilmCodec codec) { return avcodec_find_encoder_by_name(EncoderName(codec)) != nullptr; }

bool AviWriter::Open(const std::string& path, const AviWriterOptions& options) {
  if (s_ && s_->headerWritten) Close();
  s_ = std::make_unique<State>();
  error_.clear();
  State& s = *s_;
  s.options = options;
  auto fail = [&](const std::string& why) {
    error_ = why;
    s_.reset();
    return false;
  };
  if (options.Width <= 0 || options.Height <= 0 || options.Width % 2 || options.Height % 2) {
    return fail("the picture size must be positive and even");
  }
  if (options.FrameRate <= 0) return fail("the frame rate must be positive");

  const AVCodec* codec = avcodec_find_encoder_by_name(EncoderName(options.Codec));
  if (!codec) return fail(std::string("no encoder ") + EncoderName(options.Codec));
  int err = avformat_alloc_output_context2(&s.format, nullptr, "avi", path.c_str());
  if (err < 0 || !s.format) return fail("avi: " + AvError(err));
  s.stream = avformat_new_stream(s.format, nullptr);
  s.encoder = avcodec_alloc_context3(codec);
  s.frame = av_frame_alloc();
  s.packet = av_packet_alloc();
  if (!s.stream || !s.encoder || !s.frame || !s.packet) return fail("out of memory");

  AVCodecContext* c = s.encoder;
  c->width = options.Width;
  c->height = options.Height;
  c->time_base = AVRational{1, options.FrameRate};
  c->framerate = AVRational{options.FrameRate, 1};
  c->pix_fmt = EncoderFormat(options.Codec);
  c->gop_size = options.KeyInterval > 0 ? options.KeyInterval : 1;
  c->max_b_frames = HasBFrames(options.Codec) ? options.BFrames : 0;
  c->thread_count = 1;  // the same bytes on every machine
  if (options.Codec == FilmCodec::Mjpeg) c->color_range = AVCOL_RANGE_JPEG;
  int quality = options.Quality < 1 ? 1 : options.Quality > 31 ? 31 : options.Quality;
  if (options.Codec == FilmCodec::H264) {
    av_opt_set(c->priv_data, "preset", "veryfast", 0);
    av_opt_set_double(c->priv_data, "crf", 6.0 * quality, 0);
    // The keyframe interval is a promise to the reader of the film: no scene-cut keyframes.
    av_opt_set(c->priv_data, "x264-params", "scenecut=0:min-keyint=1", 0);
  } else if (options.Codec != FilmCodec::Rgb) {
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * quality;
  }
  s.packedBFrames = options.Codec == FilmCodec::Xvid && c->max_b_frames > 0;
  if (s.format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  err = avcodec_open2(c, codec, nullptr);
  if (err < 0) return fail(std::string(EncoderName(options.Codec)) + ": " + AvError(err));
  err = avcodec_parameters_from_context(s.stream->codecpar, c);
  if (err < 0) return fail(AvError(err));
  s.stream->time_base = c->time_base;
  s.stream->avg_frame_rate = c->framerate;

  s.frame->format = c->pix_fmt;
  s.frame->width = c->width;
  s.frame->height = c->height;
  if (av_frame_get_buffer(s.frame, 0) < 0) return fail("out of memory");
  // The full-range JPEG formats are the plain ones to the scaler, told the range below.
  AVPixelFormat planes = c->pix_fmt == AV_PIX_FMT_YUVJ420P ? AV_PIX_FMT_YUV420P : c->pix_fmt;
  s.scaler = sws_getContext(c->width, c->height, AV_PIX_FMT_RGBA, c->width, c->height, planes,
                            SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!s.scaler) return fail("no conversion from RGBA");
  if (options.Codec == FilmCodec::Mjpeg) {
    // Full-range output for the JPEG family, as its decoder expects.
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(s.scaler, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
  }

  err = avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (err < 0) return fail(path + ": " + AvError(err));
  err = avformat_write_header(s.format, nullptr);
  if (err < 0) return fail("avi header: " + AvError(err));
  s.headerWritten = true;
  return true;
}

bool AviWriter::WriteFrame(const uint8_t* rgba) {
  if (!s_ || !s_->headerWritten) return false;
  State& s = *s_;
  if (av_frame_make_writable(s.frame) < 0) {
    error_ = "out of memory";
    return false;
  }
  const uint8_t* source[1] = {rgba};
  const int stride[1] = {s.options.Width * 4};
  sws_scale(s.scaler, source, stride, 0, s.options.Height, s.frame->data, s.frame->linesize);
  s.frame->pts = s.nextPts++;
  s.frame->quality = s.encoder->global_quality;  // a fixed quantiser is asked for frame by frame
  int err = s.Encode(s.frame);
  if (err < 0) {
    error_ = "encoding: " + AvError(err);
    return false;
  }
  return true;
}

bool AviWriter::SkipFrame() {
  if (!s_ || !s_->headerWritten) return false;
  if (s_->encoder->max_b_frames > 0 || s_->encoder->has_b_frames > 0) {
    error_ = "a gap needs a codec without B-frames";
    return false;
  }
  // The muxer fills a gap in the timestamps with an empty chunk.
  ++s_->nextPts;
  return true;
}

bool AviWriter::Close() {
  if (!s_ || !s_->headerWritten) return false;
  State& s = *s_;
  s.headerWritten = false;
  bool ok = true;
  int err = 0;
  if (s.packedBFrames && s.nextPts > 0) {
    // libxvid cannot be drained: its last pictures come out only behind further input, so the
    // last picture is sent again as often as B-frames may wait for a reference.
    int64_t frames = s.nextPts;
    for (int i = 0; i < s.encoder->max_b_frames && err >= 0; ++i) {
      s.frame->pts = frames + i;
      err = s.Encode(s.frame);
    }
  }
  if (err >= 0) err = s.Encode(nullptr);
  if (err < 0) {
    error_ = "encoding: " + AvError(err);
    ok = false;
  }
  err = av_write_trailer(s.format);
  if (err < 0 && ok) {
    error_ = "avi trailer: " + AvError(err);
    ok = false;
  }
  err = avio_closep(&s.format->pb);
  if (err < 0 && ok) {
    error_ = "closing: " + AvError(err);
    ok = false;
  }
  return ok;
}

int64_t AviWriter::FrameCount() const { return s_ ? s_->nextPts : 0; }

}  // namespace kavrin
