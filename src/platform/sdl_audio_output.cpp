#include "platform/sdl_audio_output.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace kavrin {

SdlAudioOutput::SdlAudioOutput(OpenAlSoundBank& bank) : bank_(bank) {
  // The toolkit owns SIGINT and SIGTERM; SDL is here only for the sound (and the controllers).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Warn(SDL_GetError());
    return;
  }
  audioInitialised_ = true;

  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = OpenAlSoundBank::MixRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;  // about 21 ms a callback
  want.callback = &SdlAudioOutput::Callback;
  want.userdata = this;
  SDL_AudioSpec have;
  // No format changes allowed: SDL converts to whatever the device takes, so the mix is always
  // rendered at its own rate and the channels end on the frame the bank computes.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    Warn(SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioInitialised_ = false;
    return;
  }
  bank_.SetPulled(true);
  SDL_PauseAudioDevice(device_, 0);
}

SdlAudioOutput::~SdlAudioOutput() {
  // Closing waits for the callback to return; the bank's lock is not held here, so it can.
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    bank_.SetPulled(false);
  }
  if (audioInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::Warn(const char* what) {
  if (warned_.exchange(true)) return;
  std::fprintf(stderr, "kavrin: no sound output (%s); the run goes on without sound\n",
               what && *what ? what : "no audio device");
}

void SdlAudioOutput::Callback(void* self, uint8_t* stream, int bytes) {
  auto* output = static_cast<SdlAudioOutput*>(self);
  const int frames = bytes / static_cast<int>(2 * sizeof(float));
  output->bank_.Render(reinterpret_cast<float*>(stream), frames);
  std::memset(stream + frames * 2 * sizeof(float), 0, static_cast<size_t>(bytes) - frames * 2 * sizeof(float));
  if (SDL_GetAudioDeviceStatus(output->device_) == SDL_AUDIO_STOPPED) output->Warn("the audio device was lost");
}

}  // namespace kavrin
