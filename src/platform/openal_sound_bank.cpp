#include "platform/openal_sound_bank.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <mutex>
#include <string_view>
#include <vector>

#include "sound/channel_clock.h"

namespace kavrin {

namespace {

constexpr int kChunkFrames = 2048;

struct LoopbackApi {
  LPALCLOOPBACKOPENDEVICESOFT open = nullptr;
  LPALCISRENDERFORMATSUPPORTEDSOFT supported = nullptr;
  LPALCRENDERSAMPLESSOFT render = nullptr;
  PFNALCSETTHREADCONTEXTPROC setThreadContext = nullptr;
  PFNALCGETTHREADCONTEXTPROC getThreadContext = nullptr;

  bool Complete() const { return open && supported && render; }
};

LoopbackApi LookUpLoopback() {
  LoopbackApi api;
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return api;
  api.open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  api.supported =
      reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
  api.render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  if (alcIsExtensionPresent(nullptr, "ALC_EXT_thread_local_context")) {
    api.setThreadContext =
        reinterpret_cast<PFNALCSETTHREADCONTEXTPROC>(alcGetProcAddress(nullptr, "alcSetThreadContext"));
    api.getThreadContext =
        reinterpret_cast<PFNALCGETTHREADCONTEXTPROC>(alcGetProcAddress(nullptr, "alcGetThreadContext"));
    if (!api.getThreadContext) api.setThreadContext = nullptr;
  }
  return api;
}

const LoopbackApi& Loopback() {
  static const LoopbackApi api = LookUpLoopback();
  return api;
}

// 1/100 dB to an amplitude factor; -10000 and below is silence, above 0 is full volume.
float Gain(int32_t centibels) {
  if (centibels <= -10000) return 0.0f;
  if (centibels >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, centibels / 2000.0));
}

// The clock's length is the wave's; an empty wave plays one silent frame as a loop. Its
// frequency is the source's pitch x the recorded rate.
struct Channel {
  bool hasData = false;
  ALuint buffer = 0;
  int32_t rate = 0;
  int32_t volume = 0;
  ChannelClock clock;
};

}  // namespace

struct OpenAlSoundBank::Impl {
  mutable std::mutex mutex;
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  std::array<ALuint, ChannelCount> sources{};
  std::array<Channel, ChannelCount> channels{};
  bool pulled = false;
  // Set by a clock-only advance while a channel played: the sources stand where they were and
  // are moved to their clocks before the mixer next renders.
  bool sourcesBehind = false;
  std::function<void(const float*, int)> sink;
  std::vector<float> scratch = std::vector<float>(2 * kChunkFrames);

  // The context of this bank on the calling thread: the user-interface thread changes sources,
  // the output's thread stops the ones that end, and other banks may exist in the process.
  void MakeCurrent() const {
    if (Loopback().setThreadContext) {
      Loopback().setThreadContext(context);
    } else {
      alcMakeContextCurrent(context);
    }
  }

  bool Open();
  void Close();
  void Calibrate();
  Channel* Find(int channel) {
    if (!context || channel < 0 || channel >= ChannelCount || !channels[channel].hasData) return nullptr;
    return &channels[channel];
  }
  const Channel* Find(int channel) const { return const_cast<Impl*>(this)->Find(channel); }
  // Mix may run on the output's thread, which must end as it began, without a context of ours.
  template <class F>
  void OnThisThread(F f) const {
    const LoopbackApi& api = Loopback();
    if (!api.setThreadContext) {
      MakeCurrent();
      f();
      return;
    }
    ALCcontext* before = api.getThreadContext();
    if (before != context) api.setThreadContext(context);
    f();
    if (before != context) api.setThreadContext(before);
  }
  void StopOnThisThread(ALuint source) const {
    OnThisThread([source] { alSourceStop(source); });
  }
  void Start(int channel, bool loop);
  void Mix(float* stereo, int frames);
  void Count(int64_t frames);
  void CatchUpSources();
};

bool OpenAlSoundBank::Impl::Open() {
  const LoopbackApi& api = Loopback();
  if (!api.Complete()) return false;
  device = api.open(nullptr);
  if (!device) return false;
  if (!api.supported(device, MixRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
    Close();
    return false;
  }
  const ALCint attributes[] = {
      ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT, ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FREQUENCY, MixRate,
      ALC_MONO_SOURCES, ChannelCount, ALC_STEREO_SOURCES, 0,
      // A plain mix: no head-related filtering, no limiter reshaping loud passages, no effects.
      ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, ALC_MAX_AUXILIARY_SENDS, 0,
      0};
  context = alcCreateContext(device, attributes);
  if (!context) {
    Close();
    return false;
  }
  MakeCurrent();
  alGetError();
  if (!alIsExtensionPresent("AL_EXT_FLOAT32")) {
    Close();
    return false;
  }
  alGenSources(ChannelCount, sources.data());
  if (alGetError() != AL_NO_ERROR) {
    sources.fill(0);
    Close();
    return false;
  }
  alDistanceModel(AL_NONE);
  // The same resampler whatever the user's OpenAL configuration says, so the mix and its cost
  // stay as measured.
  ALint resampler = -1;
  if (alIsExtensionPresent("AL_SOFT_source_resampler")) {
    auto name = reinterpret_cast<LPALGETSTRINGISOFT>(alGetProcAddress("alGetStringiSOFT"));
    const ALint count = alGetInteger(AL_NUM_RESAMPLERS_SOFT);
    for (ALint i = 0; name && i < count; ++i) {
      const ALchar* n = name(AL_RESAMPLER_NAME_SOFT, i);
      if (n && std::string_view(n) == "Linear") resampler = i;
    }
  }
  for (ALuint s : sources) {
    alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(s, AL_POSITION, 0.0f, 0.0f, 0.0f);
    if (resampler >= 0) alSourcei(s, AL_SOURCE_RESAMPLER_SOFT, resampler);
  }
  Calibrate();
  if (alGetError() != AL_NO_ERROR) {
    Close();
    return false;
  }
  return true;
}

// The mixer pans a centred mono source to both sides at a little below unity; the listener gain
// brings a full-scale sample back to 1.0, as the recordings were made to be heard.
void OpenAlSoundBank::Impl::Calibrate() {
  const float one = 1.0f;
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, AL_FORMAT_MONO_FLOAT32, &one, sizeof one, MixRate);
  alSourcei(sources[0], AL_BUFFER, static_cast<ALint>(buffer));
  alSourcePlay(sources[0]);
  float out[2] = {0.0f, 0.0f};
  Loopback().render(device, out, 1);
  alSourceStop(sources[0]);
  alSourcei(sources[0], AL_BUFFER, 0);
  alDeleteBuffers(1, &buffer);
  if (out[0] > 0.1f && out[0] < 10.0f) alListenerf(AL_GAIN, 1.0f / out[0]);
}

void OpenAlSoundBank::Impl::Close() {
  if (context) {
    MakeCurrent();
    for (size_t i = 0; i < sources.size(); ++i) {
      if (!sources[i]) continue;
      alSourceStop(sources[i]);
      alSourcei(sources[i], AL_BUFFER, 0);
    }
    for (Channel& c : channels) {
      if (c.buffer) alDeleteBuffers(1, &c.buffer);
    }
    if (sources[0]) alDeleteSources(ChannelCount, sources.data());
    if (Loopback().setThreadContext) Loopback().setThreadContext(nullptr);
    if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
  }
  if (device) alcCloseDevice(device);
  context = nullptr;
  device = nullptr;
  sources.fill(0);
  channels.fill(Channel{});
}

void OpenAlSoundBank::Impl::Start(int channel, bool loop) {
  Channel* c = Find(channel);
  if (!c) return;
  MakeCurrent();
  const ALuint s = sources[channel];
  alSourcei(s, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
  alSourceRewind(s);
  c->clock.Start(loop);
  if (c->clock.playing) alSourcePlay(s);
}

// Moves every playing channel as the mix would, without the mixer: the same clocks, so a
// one-shot ends on the same output frame as when rendered.
void OpenAlSoundBank::Impl::Count(int64_t frames) {
  if (!context) return;
  for (int i = 0; i < ChannelCount; ++i) {
    ChannelClock& clock = channels[i].clock;
    if (!clock.playing) continue;
    sourcesBehind = true;
    if (clock.Advance(frames)) StopOnThisThread(sources[i]);
  }
}

void OpenAlSoundBank::Impl::CatchUpSources() {
  sourcesBehind = false;
  OnThisThread([this] {
    for (int i = 0; i < ChannelCount; ++i) {
      const ChannelClock& clock = channels[i].clock;
      if (clock.playing) alSourcei(sources[i], AL_SAMPLE_OFFSET, static_cast<ALint>(clock.Frame()));
    }
  });
}

// Renders in pieces that end where a one-shot runs out, so its source stops on that frame.
void OpenAlSoundBank::Impl::Mix(float* stereo, int frames) {
  if (!context) {
    std::fill(stereo, stereo + 2 * static_cast<ptrdiff_t>(std::max(frames, 0)), 0.0f);
    return;
  }
  if (sourcesBehind) CatchUpSources();
  while (frames > 0) {
    int n = std::min(frames, kChunkFrames);
    bool playing = false;
    for (const Channel& c : channels) {
      playing = playing || c.clock.playing;
      n = static_cast<int>(std::min<int64_t>(n, c.clock.FramesLeft()));
    }
    if (playing) {
      Loopback().render(device, stereo, n);
    } else {
      std::fill(stereo, stereo + 2 * n, 0.0f);  // what the mixer would give, without its cost
    }
    for (int i = 0; i < ChannelCount; ++i) {
      if (channels[i].clock.Advance(n)) StopOnThisThread(sources[i]);
    }
    stereo += 2 * n;
    frames -= n;
  }
}

OpenAlSoundBank::OpenAlSoundBank() : impl_(std::make_unique<Impl>()) { impl_->Open(); }

OpenAlSoundBank::~OpenAlSoundBank() {
  std::lock_guard lock(impl_->mutex);
  impl_->Close();
}

bool OpenAlSoundBank::IsOpen() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->context != nullptr;
}

void OpenAlSoundBank::SetWaveData(int channel, WavePtr wave) {
  if (channel < 0 || channel >= ChannelCount) return;
  // The channel's own copy, mixed down to one channel, is made before taking the lock so the
  // output is not held up by a long recording.
  const bool usable = wave && wave->SampleRate > 0 && wave->Channels > 0;
  const int64_t frames = usable ? wave->Frames() : 0;
  std::vector<float> mono;
  const float* data = nullptr;
  if (usable && frames > 0 && wave->Channels == 1) {
    data = wave->Samples.data();
  } else if (usable && frames > 0) {
    mono.resize(static_cast<size_t>(frames));
    const int n = wave->Channels;
    for (int64_t f = 0; f < frames; ++f) {
      double sum = 0.0;
      for (int k = 0; k < n; ++k) sum += wave->Samples[static_cast<size_t>(f * n + k)];
      mono[static_cast<size_t>(f)] = static_cast<float>(sum / n);
    }
    data = mono.data();
  } else if (usable) {
    mono.assign(1, 0.0f);
    data = mono.data();
  }
  const int64_t bytes = std::max<int64_t>(frames, 1) * static_cast<int64_t>(sizeof(float));

  std::lock_guard lock(impl_->mutex);
  if (!impl_->context) return;
  impl_->MakeCurrent();
  Channel& c = impl_->channels[channel];
  const ALuint s = impl_->sources[channel];
  alSourceStop(s);
  alSourcei(s, AL_BUFFER, 0);
  if (c.buffer) alDeleteBuffers(1, &c.buffer);
  c = Channel{};
  alSourcef(s, AL_GAIN, 1.0f);
  alSourcef(s, AL_PITCH, 1.0f);
  alSourcei(s, AL_LOOPING, AL_FALSE);
  if (!usable || bytes > INT_MAX) return;

  alGetError();
  alGenBuffers(1, &c.buffer);
  alBufferData(c.buffer, AL_FORMAT_MONO_FLOAT32, data, static_cast<ALsizei>(bytes), wave->SampleRate);
  alSourcei(s, AL_BUFFER, static_cast<ALint>(c.buffer));
  if (alGetError() != AL_NO_ERROR) {
    alSourcei(s, AL_BUFFER, 0);
    alDeleteBuffers(1, &c.buffer);
    c = Channel{};
    return;
  }
  c.hasData = true;
  c.rate = wave->SampleRate;
  c.clock.length = frames;
  c.clock.frequency = std::clamp(wave->SampleRate, MinFrequency, MaxFrequency);
  alSourcef(s, AL_PITCH, static_cast<float>(static_cast<double>(c.clock.frequency) / c.rate));
}

bool OpenAlSoundBank::HasWaveData(int channel) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->Find(channel) != nullptr;
}

void OpenAlSoundBank::Play(int channel) {
  std::lock_guard lock(impl_->mutex);
  impl_->Start(channel, false);
}

void OpenAlSoundBank::LoopPlay(int channel) {
  std::lock_guard lock(impl_->mutex);
  impl_->Start(channel, true);
}

void OpenAlSoundBank::Stop(int channel) {
  std::lock_guard lock(impl_->mutex);
  Channel* c = impl_->Find(channel);
  if (!c) return;
  impl_->MakeCurrent();
  alSourceStop(impl_->sources[channel]);
  c->clock.Stop();
}

void OpenAlSoundBank::SetVolume(int channel, int32_t centibels) {
  std::lock_guard lock(impl_->mutex);
  Channel* c = impl_->Find(channel);
  if (!c) return;
  c->volume = centibels;
  impl_->MakeCurrent();
  alSourcef(impl_->sources[channel], AL_GAIN, Gain(centibels));
}

int32_t OpenAlSoundBank::Volume(int channel) const {
  std::lock_guard lock(impl_->mutex);
  const Channel* c = impl_->Find(channel);
  return c ? c->volume : 0;
}

void OpenAlSoundBank::SetFreqRate(int channel, double ratio) {
  std::lock_guard lock(impl_->mutex);
  Channel* c = impl_->Find(channel);
  if (!c) return;
  auto freq = ChannelFrequency(c->rate, ratio);
  if (!freq) return;
  c->clock.frequency = *freq;
  impl_->MakeCurrent();
  alSourcef(impl_->sources[channel], AL_PITCH, static_cast<float>(static_cast<double>(*freq) / c->rate));
}

int OpenAlSoundBank::GetStatus(int channel) const {
  std::lock_guard lock(impl_->mutex);
  const Channel* c = impl_->Find(channel);
  if (!c || !c->clock.playing) return 0;
  return c->clock.looping ? StatusPlaying | StatusLooping : StatusPlaying;
}

void OpenAlSoundBank::Advance(int64_t ms) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->pulled || ms <= 0) return;
  int64_t frames = ms * (MixRate / 1000);
  if (!impl_->sink) {
    impl_->Count(frames);
    return;
  }
  while (frames > 0) {
    const int n = static_cast<int>(std::min<int64_t>(frames, kChunkFrames));
    impl_->Mix(impl_->scratch.data(), n);
    impl_->sink(impl_->scratch.data(), n);
    frames -= n;
  }
}

void OpenAlSoundBank::SetRenderSink(std::function<void(const float*, int)> sink) {
  std::lock_guard lock(impl_->mutex);
  impl_->sink = std::move(sink);
}

bool OpenAlSoundBank::Reset() {
  std::lock_guard lock(impl_->mutex);
  impl_->Close();
  return impl_->Open();
}

void OpenAlSoundBank::Render(float* stereo, int frames) {
  std::lock_guard lock(impl_->mutex);
  impl_->Mix(stereo, frames);
}

void OpenAlSoundBank::SetPulled(bool pulled) {
  std::lock_guard lock(impl_->mutex);
  impl_->pulled = pulled;
}

}  // namespace kavrin
