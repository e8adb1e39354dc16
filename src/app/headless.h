#pragma once
// The simulator run with virtual time and no window: loads as the window does, applies the
// script's events at their times, advances the scheduler and writes the trace.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "app/script.h"
#include "app/simulator.h"

namespace kavrin {

struct HeadlessOptions {
  RunRequest request;
  std::vector<ScriptEvent> script;
  int64_t limitMs = 3600 * 1000;  // the run is closed at this virtual time at the latest
  std::ostream* trace = nullptr;
  std::vector<std::string> fields;
  bool everyPhysics = false;      // a row after every 33 ms tick instead of every 100 ms tick
};

// The window stand-in: messages go to `messages`, a close request ends the run.
class HeadlessUiHost : public UiHost {
 public:
  explicit HeadlessUiHost(std::ostream& messages) : messages_(messages) {}
  void SetStatusText(const std::string&) override {}
  void SetStartCaption(const std::string& text) override { startCaption = text; }
  void SetWindowOpacity(int alpha) override { opacity = alpha; }
  void CloseWindow() override { closeRequested = true; }
  void ShowMessage(const std::string& text) override;
  void ShowLoadMessage(const std::string& text, const TLoadPlace& place) override;
  void SetWindowCaption(const std::string& text) override { caption = text; }

  // Every message shown, in order, with its place when it came from the load.
  std::vector<std::pair<std::string, TLoadPlace>> messagesShown;
  std::string startCaption;
  std::string caption = kSimulatorTitle;
  int opacity = 255;
  bool closeRequested = false;

 private:
  std::ostream& messages_;
};

constexpr int64_t kHeadlessIdleInterval = 16;

// Runs a loaded-and-started run to its end; returns the virtual time at which it ended.
int64_t RunHeadless(SimulatorRun& run, HeadlessUiHost& host, SoundBank& sound, const HeadlessOptions& options);

}  // namespace kavrin
