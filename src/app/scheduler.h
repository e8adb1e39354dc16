#pragma once
// The one clock of a run. Everything happens on one thread, in this order at any one time:
//   1. one-shot events that are due (input and script events are applied by the caller before
//      it advances the scheduler to their time),
//   2. the sound bank advanced to that time,
//   3. every due 33 ms tick, then every due 100 ms tick,
//   4. one idle pass when enough time has passed since the previous one.
// Ticks run only while the run is started; they fall on the grid T + 33k and T + 100k
// (k = 1, 2, ...) from the moment T of the latest start, as timers started at T would fire.
// The idle pass runs in pause too (it then draws nothing). After a stall of more than a second
// the missed ticks are dropped and the grid moves on from the present, so a run never catches
// up in a burst.
#include <cstdint>
#include <functional>
#include <map>

namespace kavrin {

class Scheduler {
 public:
  static constexpr int64_t kPhysicsPeriod = 33;
  static constexpr int64_t kLogicPeriod = 100;
  static constexpr int64_t kStall = 1000;

  struct Handlers {
    std::function<void(int64_t now)> advanceSound;
    std::function<void()> physicsTick;
    std::function<void()> logicTick;
    std::function<void(int dtMs)> idlePass;
  };

  // `idleInterval`: the idle pass runs when at least this many ms passed since the previous
  // one (15 for the window; the headless harness uses 16, one pass every 16 ms).
  explicit Scheduler(Handlers handlers, int64_t idleInterval = 15, int64_t now = 0);

  void Start();  // the grid restarts from Now()
  void Stop();
  // Around a change of film inside a tick or handler: no 33 ms tick runs between the two, and
  // the 33 ms grid starts again from Now() (the 100 ms grid keeps its place).
  void StopPhysics() { physicsStopped_ = true; }
  void StartPhysics();
  bool Started() const { return started_; }
  int64_t Now() const { return now_; }

  // A wait written as a sleep inside a handler: `fn` runs at Now() + delay, before the ticks due
  // then.
  void After(int64_t delayMs, std::function<void()> fn);
  // An input that arrives at a known time (the headless script): runs at `time`, first of
  // everything then, in the order posted.
  void At(int64_t time, std::function<void()> fn);

  // Runs everything due up to and including `now` (which never goes backwards).
  void AdvanceTo(int64_t now);
  // The next time at which something is due (a tick, an idle pass or an event).
  int64_t NextDue() const;

 private:
  void RunAt(int64_t t);
  void AdvanceSound(int64_t t);
  Handlers h_;
  int64_t idleInterval_;
  int64_t now_;
  bool started_ = false;
  bool physicsStopped_ = false;
  int64_t next33_ = 0, next100_ = 0;
  int64_t lastIdle_;
  int64_t soundAt_ = -1;
  std::multimap<int64_t, std::function<void()>> events_;
};

}  // namespace kavrin
