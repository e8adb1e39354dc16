#pragma once
// A wave decoder for tests without an audio library: a file that exists and starts with "RIFF"
// decodes to one second of silence at 1000 frames per second; anything else is no wave. Every
// request is recorded.
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_bank.h"

namespace kavrin::test {

class FakeWaveDecoder : public WaveDecoder {
 public:
  std::vector<std::string> requests;
  std::map<std::string, WavePtr> decoded;  // by path

  WavePtr Decode(const std::string& path) override {
    requests.push_back(path);
    std::ifstream in(path, std::ios::binary);
    char head[4] = {};
    if (!in.read(head, 4) || std::string(head, 4) != "RIFF") return nullptr;
    auto w = std::make_shared<Wave>();
    w->SampleRate = 1000;
    w->Samples.assign(1000, 0.0f);
    decoded[path] = w;
    return w;
  }
};

}  // namespace kavrin::test
