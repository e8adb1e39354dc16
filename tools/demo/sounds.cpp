#include "demo/sounds.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "demo/synth.h"

extern char** environ;

namespace kavrin::demo {

namespace {

Samples Chime() {
  Samples s;
  Add(s, Bell(1318.5, 1.2, 2.5), 0, 0.6);  // E6
  Add(s, Bell(1046.5, 1.4, 2.2), 0.42, 0.6);  // C6
  return s;
}

// ---- Speech ----

struct Voice {
  const char* Variant;
  int Speed, Pitch;
};
constexpr Voice kDriver{"ja", 165, 38};
constexpr Voice kAnnouncer{"ja+f3", 150, 62};

Samples ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(in)), {});
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) | static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
  };
  if (b.size() < 12 || b.compare(0, 4, "RIFF") || b.compare(8, 4, "WAVE")) return {};
  size_t at = 12;
  int bits = 0, channels = 0;
  uint32_t rate = 0;
  Samples out;
  while (at + 8 <= b.size()) {
    const std::string id = b.substr(at, 4);
    size_t size = u32(at + 4);
    // A synthesiser writing to a pipe cannot know the length; take what is there.
    size = std::min(size, b.size() - at - 8);
    if (id == "fmt " && size >= 16) {
      channels = static_cast<unsigned char>(b[at + 10]);
      rate = u32(at + 12);
      bits = static_cast<unsigned char>(b[at + 22]);
    } else if (id == "data" && bits == 16 && channels >= 1) {
      for (size_t i = 0; i + 1 < size; i += 2 * static_cast<size_t>(channels)) {
        const int16_t v = static_cast<int16_t>(static_cast<unsigned char>(b[at + 8 + i]) | static_cast<unsigned char>(b[at + 9 + i]) << 8);
        out.push_back(static_cast<float>(v / 32768.0));
      }
    }
    at += 8 + size + (size & 1);
  }
  if (rate != kRate || out.empty()) return {};
  return out;
}

// Runs espeak-ng without a shell (the text goes as one argument); nothing on failure.
Samples Speak(const std::string& text, const Voice& v) {
  static int serial = 0;
  const std::string tmp = (std::filesystem::temp_directory_path() /
                           ("kavrin-demo-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".wav"))
                              .string();
  const std::string speed = std::to_string(v.Speed), pitch = std::to_string(v.Pitch);
  std::vector<std::string> args = {"espeak-ng", "-v", v.Variant, "-s", speed, "-p", pitch, "-w", tmp, text};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The synthesiser complains about the missing sound card on stderr; it writes a file anyway.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int err = posix_spawnp(&pid, "espeak-ng", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) return {};
  int status = 0;
  waitpid(pid, &status, 0);
  Samples s;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) s = ReadWav(tmp);
  std::filesystem::remove(tmp);
  // Trim the silence it leaves at both ends.
  size_t a = 0, b = s.size();
  while (a < b && std::fabs(s[a]) < 0.004f) ++a;
  while (b > a && std::fabs(s[b - 1]) < 0.004f) --b;
  return Samples(s.begin() + static_cast<long>(a), s.begin() + static_cast<long>(b));
}

// Without a speech synthesiser a voice becomes beeps: as many as the text has words, high for
// the first, so that calls can still be told apart.
Samples ToneVoice(const std::string& text) {
  int words = 1;
  for (size_t i = 0; i + 2 < text.size(); ++i) words += text[i] == ' ' ? 1 : 0;
  Samples s;
  for (int i = 0; i < words; ++i) Add(s, Tone(i == 0 ? 880 : 660, 0.16), i * 0.24, 0.5);
  return s;
}

// Loudspeaker colour for announcements on the platform and in the car.
void Loudspeaker(Samples& s) {
  HighPass(s, 300);
  LowPass(s, 3800);
}

// ---- Sounds made without speech ----

Samples Melody(const std::string& station) {
  // A short tune per station, bell-like, of the kind played before the doors close.
  static const double kC = 523.25;
  auto note = [](int semitones) { return kC * std::pow(2.0, semitones / 12.0); };
  std::vector<int> tune;
  if (station == "Kitahama") tune = {0, 4, 7, 12, 11, 7, 9, 7, 4, 5, 7, 4, 2, 0, 2, 4, 0};
  else if (station == "Sakuradai") tune = {7, 9, 12, 9, 7, 4, 5, 7, 9, 7, 5, 4, 2, 4, 7, 12};
  else tune = {12, 7, 9, 4, 5, 0, 5, 7, 9, 11, 12, 7, 4, 7, 12};
  Samples s;
  double t = 0;
  for (size_t i = 0; i < tune.size(); ++i) {
    const double len = (i + 1 == tune.size()) ? 1.2 : 0.36;
    Add(s, Bell(note(tune[i]), len + 0.8, 3.0), t, 0.5);
    Add(s, Bell(note(tune[i]) / 2, len + 0.8, 2.0), t, 0.2);
    t += len;
  }
  return s;
}

Samples PlatformMurmur(Noise& n) {
  const double len = 6;
  Samples s(Len(len + 0.3));
  for (float& x : s) x = n.Next();
  HighPass(s, 250);
  LowPass(s, 1400);
  // Voices come and go: a slowly wandering loudness.
  double env = 0.5, target = 0.5;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i % 2205 == 0) target = 0.25 + 0.75 * n.Uniform();
    env += (target - env) * 0.0005;
    s[i] *= static_cast<float>(env);
  }
  Normalise(s, 0.35);
  return Loop(s, len);
}

Samples TunnelRoar(Noise& n) {
  // Recorded at 60 km/h: a rail joint every 25 m gives a pair of knocks each 1.5 s.
  const double len = 3;
  Samples s(Len(len + 0.3));
  for (float& x : s) x = n.Next();
  LowPass(s, 180);
  LowPass(s, 400);
  Normalise(s, 0.5);
  for (double at : {0.2, 0.36, 1.7, 1.86}) {
    Samples knock(Len(0.12));
    for (size_t i = 0; i < knock.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      knock[i] = static_cast<float>(std::sin(2 * M_PI * 110 * t) * std::exp(-t * 40));
    }
    Add(s, knock, at, 0.5);
  }
  Normalise(s, 0.7);
  return Loop(s, len);
}

Samples Country(Noise& n) {
  const double len = 8;
  Samples s(Len(len + 0.3));
  for (float& x : s) x = n.Next() * 0.15f;
  LowPass(s, 600);
  for (int k = 0; k < 9; ++k) {
    // A bird: a few quick chirps sweeping down.
    const double at = n.Uniform() * (len - 1.0);
    const double base = 2600 + 1400 * n.Uniform();
    const int chirps = 2 + static_cast<int>(n.Uniform() * 3);
    for (int c = 0; c < chirps; ++c) {
      Samples chirp(Len(0.09));
      double phase = 0;
      for (size_t i = 0; i < chirp.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += 2 * M_PI * base * (1.2 - 2.5 * t) / kRate;
        chirp[i] = static_cast<float>(std::sin(phase) * std::sin(M_PI * t / 0.09));
      }
      Add(s, chirp, at + c * 0.13, 0.18);
    }
  }
  Normalise(s, 0.45);
  return Loop(s, len);
}

Samples CrossingBell() {
  // Two struck bells in turn, twice a second each.
  Samples s;
  for (int i = 0; i < 4; ++i) Add(s, Bell(i % 2 ? 720 : 760, 0.5, 9.0), i * 0.5, 0.6);
  Samples loop(Len(2.0));
  for (size_t i = 0; i < s.size(); ++i) loop[i % loop.size()] += s[i];
  Normalise(loop, 0.8);
  return loop;
}

Samples CarHum(Noise& n) {
  const double len = 4;
  Samples s(Len(len + 0.3));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(0.3 * std::sin(2 * M_PI * 100 * t) + 0.12 * std::sin(2 * M_PI * 200 * t) + 0.2 * n.Next());
  }
  LowPass(s, 900);
  Normalise(s, 0.3);
  return Loop(s, len);
}

Samples Whistle() {
  Samples s = Tone(660, 1.4, 0.004);
  Add(s, Tone(880, 1.4, 0.004), 0, 0.5);
  Normalise(s, 0.7);
  return s;
}

Samples Jingle() {
  static const int kTune[] = {0, 4, 7, 12, 7, 9, 12, 16, 14, 12, 9, 7, 12};
  Samples s;
  double t = 0;
  for (size_t i = 0; i < std::size(kTune); ++i) {
    const double hz = 392.0 * std::pow(2.0, kTune[i] / 12.0);
    const double len = i + 1 == std::size(kTune) ? 1.6 : 0.28;
    Add(s, Bell(hz, len + 0.9, 2.4), t, 0.5);
    Add(s, Tone(hz / 2, len + 0.05), t, 0.12);
    t += len;
  }
  Normalise(s, 0.8);
  return s;
}

bool HaveSpeech() {
  static const bool have = !Speak("て", kDriver).empty();
  return have;
}

}  // namespace

SoundReport WriteSounds(const std::vector<SoundFile>& sounds, const std::string& folder) {
  SoundReport report;
  const bool speech = HaveSpeech();
  report.ToneVoices = !speech;
  for (const SoundFile& f : sounds) {
    // Each made sound has its own noise, so one sound never depends on another's length.
    Noise noise = NoiseFor(f.File);
    Samples s;
    auto say = [&](const std::string& text, const Voice& v) {
      Samples spoken = speech ? Speak(text, v) : ToneVoice(text);
      if (speech && spoken.empty()) throw std::runtime_error("the speech synthesiser gave nothing for " + f.File);
      report.Spoken += speech ? 1 : 0;
      return spoken;
    };
    if (!f.Speech.empty()) {
      const bool announcement = f.File.rfind("sound/kanko/", 0) != 0;
      if (announcement) {
        // A chime, then the announcer through the loudspeakers.
        Samples voice = say(f.Speech, kAnnouncer);
        Loudspeaker(voice);
        Normalise(voice, 0.8);
        Add(s, Chime(), 0, 0.7);
        Add(s, voice, 1.6);
      } else {
        s = say(f.Speech, kDriver);
        Normalise(s, 0.9);
      }
    } else if (f.Synth == "chime") {
      s = Chime();
    } else if (f.Synth.rfind("melody:", 0) == 0) {
      s = Melody(f.Synth.substr(7));
      Samples voice = say("ドアが しまります。 ごちゅうい ください。", kAnnouncer);
      Loudspeaker(voice);
      Normalise(voice, 0.8);
      Add(s, voice, static_cast<double>(s.size()) / kRate + 0.2);
    } else if (f.Synth == "platform") {
      s = PlatformMurmur(noise);
    } else if (f.Synth == "tunnel") {
      s = TunnelRoar(noise);
    } else if (f.Synth == "country") {
      s = Country(noise);
    } else if (f.Synth == "crossing") {
      s = CrossingBell();
    } else if (f.Synth == "passbell") {
      Add(s, Chime(), 0, 0.6);
      Samples voice = say("でんしゃが つうかします。", kAnnouncer);
      Loudspeaker(voice);
      Normalise(voice, 0.7);
      Add(s, voice, 1.4);
      s.resize(Len(static_cast<double>(s.size()) / kRate + 0.6));
    } else if (f.Synth == "carhum") {
      s = CarHum(noise);
    } else {
      throw std::runtime_error("no recipe for the sound " + f.File);
    }
    Save(folder + f.File, std::move(s));
    ++report.Files;
  }
  return report;
}

void WriteTitleSounds(const std::string& folder) {
  Save(folder + "sound/9316.wav", Jingle());
  Save(folder + "sound/start.wav", Whistle());
}

}  // namespace kavrin::demo
