#include "app/headless.h"

#include <algorithm>
#include <ostream>

#include "app/trace.h"

namespace kavrin {

void HeadlessUiHost::ShowMessage(const std::string& text) { ShowLoadMessage(text, TLoadPlace{}); }

void HeadlessUiHost::ShowLoadMessage(const std::string& text, const TLoadPlace& place) {
  messagesShown.emplace_back(text, place);
  messages_ << text << '\n';
}

int64_t RunHeadless(SimulatorRun& run, HeadlessUiHost& host, SoundBank& sound, const HeadlessOptions& options) {
  Scheduler& scheduler = run.scheduler();
  StateProbe probe;
  std::unique_ptr<TraceWriter> trace;
  if (options.trace) trace = std::make_unique<TraceWriter>(*options.trace, probe, options.fields);
  auto row = [&] { trace->Row(scheduler.Now(), run.sim()); };
  if (trace) (options.everyPhysics ? run.afterPhysicsTick : run.afterLogicTick) = row;

  int64_t soundTime = scheduler.Now();
  // The bank renders as virtual time passes: the same statuses as with a device.
  run.advanceSound = [&](int64_t to) {
    if (to > soundTime) sound.Advance(to - soundTime);
    soundTime = std::max(soundTime, to);
  };
  for (const ScriptEvent& e : options.script) {
    scheduler.At(e.ms, [&run, &e] { run.HandleInput(e.event); });
  }
  while (!run.sim().run.Closed) {
    int64_t t = scheduler.NextDue();
    if (t > options.limitMs) break;
    scheduler.AdvanceTo(t);
    if (host.closeRequested) run.FormCloseQuery();
  }
  if (!run.sim().run.Closed) {
    scheduler.AdvanceTo(options.limitMs);
    run.FormCloseQuery();
  }
  int64_t end = scheduler.Now();
  return end;
}

}  // namespace kavrin
