#include "platform/ffmpeg_film_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace kavrin {

namespace {

// Larger pictures are not a film but a damaged header; refusing them keeps one frame's buffer
// within a few hundred megabytes.
constexpr int kMaxSide = 8192;
// A picture comes out of the decoder at most this many chunks after its own (B-frame delay,
// packed B-frames); further on, a picture that has not come is not coming.
constexpr size_t kMaxDelayChunks = 32;

struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;

size_t FrameBytes(const AVFrame* f) {
  size_t bytes = 0;
  for (const AVBufferRef* b : f->buf) {
    if (b) bytes += b->size;
  }
  for (int i = 0; i < f->nb_extended_buf; ++i) bytes += f->extended_buf[i]->size;
  return bytes;
}

// The codes for an FFmpeg failure once the file is known to be an AVI or WAV file.
int32_t CodeFor(int err, int32_t otherwise) {
  if (err == AVERROR(ENOMEM)) return FilmSource::NoMemory;
  if (err == AVERROR(EIO) || err == AVERROR(ENXIO) || err == AVERROR(ESTALE) || err == AVERROR(ETIMEDOUT)) {
    return FilmSource::ReadError;
  }
  return otherwise;
}

void QuietLog() {
  // Damaged films make the decoders talk on every frame; the program has no log to put it in.
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

}  // namespace

// One open film: the demuxer and decoder, the frame table and the state of the decoding run.
//
// Frame numbers are chunk times (dts, in frames) of the video stream, which the AVI index gives
// for every chunk whether or not its packet has a presentation time. A picture is tagged with
// the time of the chunk it was decoded from (the packet's pts is overwritten with its dts, and
// the decoder hands a packet's pts on to the picture it starts). Without reordering the tag is
// the frame number. With B-frames the pictures of a group (the chunks from one keyframe to the
// next) come out in display order and take the group's chunk times in order; a group may begin
// with B-frames that need the group before, so the first decoding of a group starts one group
// earlier and learns where the keyframe's own picture falls (`lead`).
struct FfmpegFilmSource::Film {
  struct Chunk {
    int64_t dts = 0;
    bool key = false;
  };
  struct Group {
    size_t firstChunk = 0;
    size_t chunkCount = 0;
    int64_t lead = -1;  // display rank of the keyframe's picture in its group; -1 not known yet
  };
  enum class Reorder { No, Unknown, Yes };

  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
  AVCodecContext* decoder = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  SwsContext* scaler = nullptr;
  int streamIndex = -1;
  int32_t width = 0;
  int32_t height = 0;
  int32_t length = 0;

  std::vector<Chunk> chunks;  // non-empty chunks by time; empty ones show the picture before
  std::vector<Group> groups;
  // The file ends before its header says (a recording cut off): its last group lacks chunks.
  bool cutShort = false;
  Reorder reorder = Reorder::Unknown;

  // The decoding run: from a seek to the group `runGroup` up to the chunk fed last.
  bool running = false;
  bool draining = false;
  bool ended = false;
  size_t runGroup = 0;
  int64_t fedChunk = -1;
  int64_t curGroup = -1;
  bool anchored = false;
  int64_t rank = 0;
  int64_t lastSlot = -1;
  bool firstPacket = false;

  std::map<int64_t, FramePtr> cache;
  // Frames whose chunk decodes to no picture, with the frame whose picture they show.
  std::map<int64_t, int64_t> repeats;
  size_t cacheBytes = 0;
  size_t cacheBudget = 0;
  // Going back needs the frames of the group being shown and of the one before it; with B-frames
  // also those of the group before that, which the leading B-frames of the one before need.
  // More are never used (see Ref).
  size_t longestGroup = 0;
  size_t CacheFrameCap() const { return (reorder == Reorder::No ? 2 : 3) * longestGroup + 4; }
  Stats stats;

  ~Film() {
    cache.clear();
    pending = Pending{};
    held.clear();
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&format);  // leaves the file to us (custom I/O)
    avio_closep(&io);
  }

  bool HeaderOnly() const { return decoder == nullptr; }

  size_t GroupOf(size_t chunk) const {
    auto it = std::upper_bound(groups.begin(), groups.end(), chunk,
                               [](size_t c, const Group& g) { return c < g.firstChunk; });
    return it == groups.begin() ? 0 : static_cast<size_t>(it - groups.begin() - 1);
  }
  // The chunk whose picture frame n shows: the last non-empty chunk at or before n.
  int64_t ChunkAtOrBefore(int64_t n) const {
    auto it = std::upper_bound(chunks.begin(), chunks.end(), n, [](int64_t t, const Chunk& c) { return t < c.dts; });
    return static_cast<int64_t>(it - chunks.begin()) - 1;
  }
  int64_t ChunkAt(int64_t dts) const {
    auto it = std::lower_bound(chunks.begin(), chunks.end(), dts, [](const Chunk& c, int64_t t) { return c.dts < t; });
    return it != chunks.end() && it->dts == dts ? static_cast<int64_t>(it - chunks.begin()) : -1;
  }

  // Opening ---------------------------------------------------------------------------------

  int32_t Open(const std::string& path, bool decode, size_t budget) {
    cacheBudget = budget;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return OpenError;
    // "file:" keeps a name from a data file from being taken for another protocol.
    std::string url = "file:" + path;
    int err = avio_open2(&io, url.c_str(), AVIO_FLAG_READ, nullptr, nullptr);
    if (err < 0) {
      io = nullptr;
      return err == AVERROR(ENOMEM) ? NoMemory : OpenError;
    }
    unsigned char head[12] = {};
    int got = avio_read(io, head, sizeof head);
    if (got < 0 && got != AVERROR_EOF) return CodeFor(got, ReadError);
    if (got < static_cast<int>(sizeof head)) return BadFormat;
    bool riff = std::memcmp(head, "RIFF", 4) == 0 || std::memcmp(head, "RF64", 4) == 0;
    const char* demuxer = nullptr;
    if (riff && std::memcmp(head + 8, "AVI ", 4) == 0) demuxer = "avi";
    if (riff && std::memcmp(head + 8, "WAVE", 4) == 0) demuxer = "wav";
    if (!demuxer) return BadFormat;
    if (avio_seek(io, 0, SEEK_SET) < 0) return ReadError;

    format = avformat_alloc_context();
    if (!format) return NoMemory;
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    err = avformat_open_input(&format, url.c_str(), av_find_input_format(demuxer), nullptr);
    if (err < 0) return CodeFor(err, InfoError);  // the context is freed on failure

    for (unsigned i = 0; i < format->nb_streams; ++i) {
      if (format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        streamIndex = static_cast<int>(i);
        break;
      }
    }
    // An AVI without a single stream has no header list worth the name.
    if (format->nb_streams == 0 && std::strcmp(demuxer, "avi") == 0) return InfoError;
    if (streamIndex < 0) return NoVideo;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      if (static_cast<int>(i) != streamIndex) format->streams[i]->discard = AVDISCARD_ALL;
    }
    AVStream* stream = format->streams[streamIndex];
    const AVCodecParameters* par = stream->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec || par->width <= 0 || par->height <= 0 || par->width > kMaxSide || par->height > kMaxSide) {
      return NoDecoder;
    }
    width = par->width;
    height = par->height;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(par->codec_id);
    reorder = descriptor && (descriptor->props & AV_CODEC_PROP_REORDER) ? Reorder::Unknown : Reorder::No;

    if (decode) {
      decoder = avcodec_alloc_context3(codec);
      packet = av_packet_alloc();
      frame = av_frame_alloc();
      if (!decoder || !packet || !frame) return NoMemory;
      err = avcodec_parameters_to_context(decoder, par);
      if (err < 0) return CodeFor(err, NoDecoder);
      decoder->thread_count = 1;  // one core; and the next frame must not wait behind threads
      err = avcodec_open2(decoder, codec, nullptr);
      if (err < 0) return CodeFor(err, NoDecoder);
    }

    int32_t scanned = ReadIndex(stream, decode);
    if (scanned != Opened) return scanned;
    if (decode && reorder == Reorder::Unknown) ProbeReorder();
    int64_t frames = stream->nb_frames;
    if (frames <= 0 && !chunks.empty()) frames = chunks.back().dts + 1;
    length = static_cast<int32_t>(std::clamp<int64_t>(frames, 0, std::numeric_limits<int32_t>::max()));
    return Opened;
  }

  // The frame table from the demuxer's index. A file cut short has lost its index (or its
  // end): the chunks after the last index entry are then found by reading on to the end.
  int32_t ReadIndex(AVStream* stream, bool scan) {
    try {
      int entries = avformat_index_get_entries_count(stream);
      chunks.reserve(static_cast<size_t>(std::max(entries, 0)));
      for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(stream, i);
        if (e && e->size > 0) AddChunk(e->timestamp, (e->flags & AVINDEX_KEYFRAME) != 0);
      }
      if (scan) {
        if (!chunks.empty()) {
          av_seek_frame(format, streamIndex, chunks.back().dts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
        }
        for (;;) {
          int err = av_read_frame(format, packet);
          if (err == AVERROR(ENOMEM)) return NoMemory;
          if (err < 0) {
            if (err != AVERROR_EOF) cutShort = true;  // where the file breaks off
            break;
          }
          // A chunk cut off by the end of the file keeps its place in the table, so that the
          // count of the last group stays true, but it is never decoded (Feed skips it).
          if (packet->flags & AV_PKT_FLAG_CORRUPT) cutShort = true;
          if (packet->stream_index == streamIndex && packet->size > 0 && packet->dts != AV_NOPTS_VALUE) {
            AddChunk(packet->dts, (packet->flags & AV_PKT_FLAG_KEY) != 0);
          }
          av_packet_unref(packet);
        }
        av_packet_unref(packet);
      }
      if (!chunks.empty()) {
        std::sort(chunks.begin(), chunks.end(), [](const Chunk& a, const Chunk& b) { return a.dts < b.dts; });
        chunks.erase(std::unique(chunks.begin(), chunks.end(), [](const Chunk& a, const Chunk& b) { return a.dts == b.dts; }),
                     chunks.end());
        for (size_t i = 0; i < chunks.size(); ++i) {
          // The first chunk begins a group even when it is no keyframe: there is nothing before.
          if (i == 0 || chunks[i].key) groups.push_back(Group{i, 0, -1});
          ++groups.back().chunkCount;
        }
        for (const Group& g : groups) longestGroup = std::max(longestGroup, g.chunkCount);
        if (stream->nb_frames > chunks.back().dts + 1) cutShort = true;
      }
    } catch (const std::bad_alloc&) {
      return NoMemory;
    }
    return Opened;
  }

  // Whether pictures come out in another order than their chunks shows in the stream's header,
  // which the decoder reads with the first chunk. Knowing it before the first frame is asked
  // for spares that frame a decoding of the group before (see DecodeRun); the decoder can
  // still change its mind later (Place).
  void ProbeReorder() {
    if (groups.empty() || av_seek_frame(format, streamIndex, chunks[0].dts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0) {
      return;
    }
    while (av_read_frame(format, packet) >= 0) {
      bool video = packet->stream_index == streamIndex && packet->size > 0;
      if (video) avcodec_send_packet(decoder, packet);
      av_packet_unref(packet);
      if (video) break;
    }
    reorder = decoder->has_b_frames > 0 ? Reorder::Yes : Reorder::No;
    avcodec_flush_buffers(decoder);
  }

  void AddChunk(int64_t dts, bool key) {
    if (dts >= 0 && dts != AV_NOPTS_VALUE && (chunks.empty() || dts != chunks.back().dts)) {
      chunks.push_back(Chunk{dts, key});
    }
  }

  // Decoding --------------------------------------------------------------------------------

  bool Frame(int64_t n, FilmFrame& picture) {
    if (HeaderOnly() || n < 0 || chunks.empty() || n > chunks.back().dts) return false;
    int64_t chunk = ChunkAtOrBefore(n);
    if (chunk < 0) return false;
    int64_t slot = chunks[static_cast<size_t>(chunk)].dts;
    auto repeat = repeats.find(slot);
    const AVFrame* shown = Cached(repeat != repeats.end() ? repeat->second : slot);
    if (!shown) shown = Decode(static_cast<size_t>(chunk));
    bool ok = shown && Deliver(shown, picture);
    if (n < lastRequest) PrefetchBehind(static_cast<size_t>(chunk));
    lastRequest = n;
    return ok;
  }

  // While the film runs backwards through kept frames, the frames before them are decoded a few
  // at a time, so that stepping back into the group before does not stall on the whole group.
  void PrefetchBehind(size_t chunk) {
    auto kept = [&](size_t c) { return cache.count(chunks[c].dts) || repeats.count(chunks[c].dts); };
    if (!kept(chunk)) return;
    size_t low = chunk;
    while (low > 0 && kept(low - 1)) --low;
    if (low == 0) return;
    const size_t want = low - 1;
    const size_t group = GroupOf(want);
    const int64_t lead = reorder == Reorder::No ? 0 : groups[group].lead;
    const int64_t rankInGroup = static_cast<int64_t>(want - groups[group].firstChunk);
    const size_t start = group > 0 && (lead < 0 || rankInGroup < lead) ? group - 1 : group;
    int64_t from = static_cast<int64_t>(groups[start].firstChunk);
    if (running && !ended && runGroup <= start && fedChunk >= from && fedChunk < static_cast<int64_t>(want)) {
      from = fedChunk + 1;
    }
    const int64_t remaining = static_cast<int64_t>(want) - from + 1;
    const int64_t steps = static_cast<int64_t>(chunk - low) + 1;
    // Only when the budget holds the frames still ahead of the driver and the ones decoded for
    // later; otherwise prefetching would throw out what is about to be shown.
    const size_t frameBytes = cacheBytes / std::max<size_t>(cache.size(), 1);
    if (frameBytes * static_cast<size_t>(steps + remaining + 2) > cacheBudget) return;
    const int64_t perStep = std::max<int64_t>(1, (2 * remaining + steps - 1) / steps);
    DecodeRun(want, perStep);
  }
  int64_t lastRequest = std::numeric_limits<int64_t>::max();

  const AVFrame* Decode(size_t chunk) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      Reorder before = reorder;
      const AVFrame* f = DecodeRun(chunk);
      // A stream that turned out to reorder pictures after all was numbered wrongly so far.
      if (before == Reorder::No && reorder == Reorder::Yes) continue;
      return f;
    }
    return nullptr;
  }

  // Decodes up to the chunk's picture; with a limit, gives up (leaving the run to be resumed)
  // after that many pictures.
  const AVFrame* DecodeRun(size_t chunk, int64_t limit = 0) {
    const int64_t target = chunks[chunk].dts;
    const size_t group = GroupOf(chunk);
    const int64_t rankInGroup = static_cast<int64_t>(chunk - groups[group].firstChunk);
    const int64_t lead = reorder == Reorder::No ? 0 : groups[group].lead;
    const size_t start = group > 0 && (lead < 0 || rankInGroup < lead) ? group - 1 : group;

    bool resume = running && !ended && runGroup <= start && lastSlot < target &&
                  fedChunk + 1 >= static_cast<int64_t>(groups[start].firstChunk);
    if (!resume && !Seek(start)) return nullptr;

    int64_t previous = resume ? lastSlot : -1;  // the slot this run decoded last before the target
    for (int64_t received = 0;;) {
      if (limit > 0 && received >= limit) return nullptr;
      int err = avcodec_receive_frame(decoder, frame);
      if (err == 0) {
        ++received;
        ++stats.PicturesDecoded;
        int64_t slot = Place(frame);
        av_frame_unref(frame);
        if (!running) return nullptr;  // the numbering changed; start again
        if (slot == target) return Cached(slot);
        if (slot > target) break;
        if (slot >= 0) previous = slot;
        continue;
      }
      if (err == AVERROR(EAGAIN)) {
        if (fedChunk > static_cast<int64_t>(chunk + kMaxDelayChunks)) break;
        Feed();
        continue;
      }
      // The decoder is drained (or broken): the run is over.
      ended = true;
      FinishRun();
      if (const AVFrame* f = Cached(target)) return f;
      break;
    }
    // The target's picture did not come (a chunk that decodes to nothing, or damage): show the
    // picture before it, as a player would.
    const AVFrame* before = previous >= 0 ? Cached(previous) : nullptr;
    if (before) repeats[target] = previous;
    return before;
  }

  const AVFrame* Cached(int64_t slot) const {
    auto it = cache.find(slot);
    return it == cache.end() ? nullptr : it->second.get();
  }

  bool Seek(size_t group) {
    running = false;
    pending = Pending{};
    held.clear();
    const Chunk& first = chunks[groups[group].firstChunk];
    int flags = AVSEEK_FLAG_BACKWARD | (first.key ? 0 : AVSEEK_FLAG_ANY);
    if (av_seek_frame(format, streamIndex, first.dts, flags) < 0 &&
        av_seek_frame(format, streamIndex, first.dts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0) {
      return false;
    }
    avcodec_flush_buffers(decoder);
    ++stats.Seeks;
    running = true;
    draining = false;
    ended = false;
    runGroup = group;
    fedChunk = static_cast<int64_t>(groups[group].firstChunk) - 1;
    curGroup = -1;
    anchored = false;
    rank = 0;
    lastSlot = -1;
    firstPacket = true;
    return true;
  }

  // Sends the next video packet, or the end of the stream.
  void Feed() {
    if (draining) {
      ended = true;
      return;
    }
    for (;;) {
      int err = av_read_frame(format, packet);
      if (err < 0) {
        avcodec_send_packet(decoder, nullptr);
        draining = true;
        return;
      }
      if (packet->stream_index != streamIndex || packet->size <= 0 || (packet->flags & AV_PKT_FLAG_CORRUPT)) {
        av_packet_unref(packet);
        continue;
      }
      int64_t c = packet->dts == AV_NOPTS_VALUE ? -1 : ChunkAt(packet->dts);
      if (c >= 0) {
        if (firstPacket) {
          // The seek may land on another keyframe than asked; the run starts where it landed.
          runGroup = GroupOf(static_cast<size_t>(c));
          firstPacket = false;
        }
        fedChunk = std::max(fedChunk, c);
      }
      packet->pts = packet->dts;
      avcodec_send_packet(decoder, packet);  // a damaged packet is skipped by the decoder
      av_packet_unref(packet);
      return;
    }
  }

  // Numbers a decoded picture and keeps it; its slot, or -1 when it has none (yet).
  int64_t Place(AVFrame* f) {
    if (reorder != Reorder::No || decoder->has_b_frames > 0) {
      Reorder now = decoder->has_b_frames > 0 ? Reorder::Yes : Reorder::No;
      if (reorder == Reorder::Unknown) {
        reorder = now;
      } else if (reorder == Reorder::No && now == Reorder::Yes) {
        reorder = Reorder::Yes;
        ClearCache();
        running = false;
        return -1;
      }
    }
    int64_t c = f->pts == AV_NOPTS_VALUE ? -1 : ChunkAt(f->pts);
    if (c < 0) return -1;
    if (reorder == Reorder::No) return Keep(f->pts, Ref(f));

    const int64_t g = static_cast<int64_t>(GroupOf(static_cast<size_t>(c)));
    Group& group = groups[static_cast<size_t>(g)];
    if (g < curGroup) return -1;
    if (g > curGroup) {
      ResolvePending();
      curGroup = g;
      // A group reached by decoding through the one before is whole; the group a run starts
      // with may open with pictures that needed the group before (broken, or dropped).
      anchored = !(static_cast<size_t>(g) == runGroup && g > 0);
      rank = 0;
    }
    const bool keyPicture = f->pts == chunks[group.firstChunk].dts;
    if (anchored && draining && cutShort && static_cast<size_t>(g) + 1 == groups.size()) {
      // What comes out only at the end of a cut-off film may be a picture to be shown after
      // B-frames that were cut off: its place is known only when the count comes out right.
      held.push_back(Ref(f));
      return -1;
    }
    if (!anchored) {
      if (group.lead < 0) {
        // Where the keyframe's picture falls in its group shows only at the group's end, where
        // the pictures from it on are counted back from the group's last frame.
        if (keyPicture) pending.group = g;
        if (pending.group == g) HoldPending(f);
        return -1;
      }
      if (!keyPicture) return -1;
      anchored = true;
      rank = group.lead;
    }
    if (keyPicture && group.lead < 0) group.lead = rank;
    if (rank >= static_cast<int64_t>(group.chunkCount)) return -1;
    int64_t slot = chunks[group.firstChunk + static_cast<size_t>(rank)].dts;
    ++rank;
    return Keep(slot, Ref(f));
  }

  // The pictures of a run's first group, from its keyframe's picture on, while their places
  // are not known; the oldest go first when they outgrow the budget, as they would in the cache.
  struct Pending {
    int64_t group = -1;
    std::vector<FramePtr> frames;
    size_t first = 0;  // frames before it were given up
    size_t bytes = 0;
  };
  Pending pending;

  void HoldPending(AVFrame* f) {
    FramePtr copy = Ref(f);
    if (!copy) return;
    pending.bytes += FrameBytes(copy.get());
    pending.frames.push_back(std::move(copy));
    while (pending.bytes > cacheBudget && pending.frames.size() - pending.first > 2) {
      pending.bytes -= FrameBytes(pending.frames[pending.first].get());
      pending.frames[pending.first++].reset();
    }
  }

  std::vector<FramePtr> held;

  // At the end of the stream: in a film cut off, the last group's pictures are placed only where
  // none is missing.
  void FinishRun() {
    if (cutShort && pending.group >= 0 && static_cast<size_t>(pending.group) + 1 == groups.size()) pending = Pending{};
    ResolvePending();
    if (!held.empty() && curGroup >= 0) {
      const Group& group = groups[static_cast<size_t>(curGroup)];
      if (rank + static_cast<int64_t>(held.size()) == static_cast<int64_t>(group.chunkCount)) {
        for (FramePtr& f : held) Keep(chunks[group.firstChunk + static_cast<size_t>(rank++)].dts, std::move(f));
      }
    }
    held.clear();
  }

  void ResolvePending() {
    if (pending.group < 0) return;
    Group& group = groups[static_cast<size_t>(pending.group)];
    int64_t count = static_cast<int64_t>(pending.frames.size());
    int64_t lead = static_cast<int64_t>(group.chunkCount) - count;
    if (lead >= 0) {
      group.lead = lead;
      for (size_t i = pending.first; i < pending.frames.size(); ++i) {
        Keep(chunks[group.firstChunk + static_cast<size_t>(lead) + i].dts, std::move(pending.frames[i]));
      }
    }
    pending = Pending{};
  }

  // Keeps a numbered picture; its slot, or -1 when it comes out of order.
  int64_t Keep(int64_t slot, FramePtr copy) {
    if (!copy || slot <= lastSlot) return -1;
    lastSlot = slot;
    auto [it, added] = cache.try_emplace(slot);
    if (!added) cacheBytes -= FrameBytes(it->second.get());
    cacheBytes += FrameBytes(copy.get());
    it->second = std::move(copy);
    // Keep what lies nearest to the frame being decoded for, on both sides.
    while ((cacheBytes > cacheBudget || cache.size() > CacheFrameCap()) && cache.size() > 2) {
      auto first = cache.begin();
      auto last = std::prev(cache.end());
      auto drop = (slot - first->first) >= (last->first - slot) ? first : last;
      cacheBytes -= FrameBytes(drop->second.get());
      cache.erase(drop);
    }
    return slot;
  }

  // A kept frame holds the decoder's buffer, so the decoder's pool grows by one buffer for each;
  // they come back for reuse when let go. New buffers are zeroed fresh memory, which cost more
  // than the decoding on the machine measured (a page fault per page): hence the cap on kept
  // frames to what going back can use.
  FramePtr Ref(const AVFrame* f) { return FramePtr(av_frame_clone(f)); }

  void ClearCache() {
    cache.clear();
    repeats.clear();
    cacheBytes = 0;
  }

  bool Deliver(const AVFrame* f, FilmFrame& picture) {
    auto pixels = static_cast<AVPixelFormat>(f->format);
    bool full = f->color_range == AVCOL_RANGE_JPEG;
    // The JPEG family's full-range formats are the plain ones with the range told apart.
    const std::pair<AVPixelFormat, AVPixelFormat> jpeg[] = {{AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV420P},
                                                            {AV_PIX_FMT_YUVJ422P, AV_PIX_FMT_YUV422P},
                                                            {AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUV444P},
                                                            {AV_PIX_FMT_YUVJ440P, AV_PIX_FMT_YUV440P}};
    for (const auto& [j, plain] : jpeg) {
      if (pixels == j) {
        pixels = plain;
        full = true;
      }
    }
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(pixels);
    bool yuv = d && !(d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL));
    int space = f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    std::array<int, 5> key = {f->width, f->height, pixels, space, full ? 1 : 0};
    scaler = sws_getCachedContext(scaler, f->width, f->height, pixels, width, height, AV_PIX_FMT_RGBA, SWS_BILINEAR,
                                  nullptr, nullptr, nullptr);
    if (!scaler) {
      scalerKey = {};
      return false;
    }
    if (key != scalerKey) {
      if (yuv) {
        sws_setColorspaceDetails(scaler, sws_getCoefficients(space), full ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT),
                                 1, 0, 1 << 16, 1 << 16);
      }
      scalerKey = key;
    }
    // The picture's own buffer is reused: a fresh one would cost its page faults every frame.
    std::vector<uint8_t>& rgba = picture.Rgba;
    rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    uint8_t* dst[4] = {rgba.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {width * 4, 0, 0, 0};
    if (sws_scale(scaler, f->data, f->linesize, 0, f->height, dst, dstStride) <= 0) return false;
    if (d && (d->flags & AV_PIX_FMT_FLAG_ALPHA)) {
      // 32-bit bitmaps of old films leave the fourth byte 0: the film is opaque all the same.
      for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    }
    picture.Width = width;
    picture.Height = height;
    return true;
  }
  std::array<int, 5> scalerKey = {};
};

FfmpegFilmSource::FfmpegFilmSource() : FfmpegFilmSource(Options{}) {}
FfmpegFilmSource::FfmpegFilmSource(Options options) : options_(options) { QuietLog(); }
FfmpegFilmSource::~FfmpegFilmSource() = default;

int32_t FfmpegFilmSource::AviOpen(const std::string& path) {
  film_.reset();
  auto film = std::make_unique<Film>();
  int32_t code;
  try {
    code = film->Open(path, options_.mode == Mode::Decode, options_.CacheBytes);
  } catch (const std::bad_alloc&) {
    code = NoMemory;
  }
  if (code == Opened) film_ = std::move(film);
  return code;
}

bool FfmpegFilmSource::IsOpen() const { return film_ != nullptr; }

int32_t FfmpegFilmSource::FilmLength() const { return film_ ? film_->length : 0; }

bool FfmpegFilmSource::AviFrame(int32_t n, FilmFrame& picture) {
  if (!film_) return false;
  try {
    return film_->Frame(n, picture);
  } catch (const std::bad_alloc&) {
    film_->ClearCache();
    return false;
  }
}

void FfmpegFilmSource::Close() { film_.reset(); }

FfmpegFilmSource::Stats FfmpegFilmSource::GetStats() const {
  if (!film_) return {};
  Stats s = film_->stats;
  s.CachedFrames = film_->cache.size();
  s.CachedBytes = film_->cacheBytes;
  return s;
}

}  // namespace kavrin
