#pragma once
// The cab view composed without a window, for the headless pictures and the benchmarks. Its
// interface names no toolkit type, so a caller outside the windows needs none.
#include <memory>
#include <string>

#include "app/sim.h"

namespace kavrin {

class OffscreenCab {
 public:
  // Needs a QGuiApplication; EnsureOffscreenGui() makes one when there is none.
  OffscreenCab();
  ~OffscreenCab();
  OffscreenCab(const OffscreenCab&) = delete;
  OffscreenCab& operator=(const OffscreenCab&) = delete;

  // The 800 x 880 view of the run as it stands.
  void Compose(const Sim& sim);
  // The last view composed, as a PNG file; false when it cannot be written.
  bool SavePng(const std::string& path) const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// An offscreen QGuiApplication for the rest of the process, when none exists yet.
void EnsureOffscreenGui();

}  // namespace kavrin
