#include "app/scheduler.h"

#include <algorithm>
#include <limits>

namespace kavrin {

Scheduler::Scheduler(Handlers handlers, int64_t idleInterval, int64_t now)
    : h_(std::move(handlers)), idleInterval_(idleInterval), now_(now), lastIdle_(now) {}

void Scheduler::Start() {
  started_ = true;
  next33_ = now_ + kPhysicsPeriod;
  next100_ = now_ + kLogicPeriod;
}

void Scheduler::Stop() { started_ = false; }

void Scheduler::StartPhysics() {
  physicsStopped_ = false;
  next33_ = now_ + kPhysicsPeriod;
}

void Scheduler::After(int64_t delayMs, std::function<void()> fn) {
  events_.emplace(now_ + std::max<int64_t>(delayMs, 0), std::move(fn));
}

void Scheduler::At(int64_t time, std::function<void()> fn) {
  events_.emplace(std::max(time, now_), std::move(fn));
}

int64_t Scheduler::NextDue() const {
  int64_t next = lastIdle_ + idleInterval_;
  if (started_) next = std::min({next, physicsStopped_ ? next100_ : next33_, next100_});
  if (!events_.empty()) next = std::min(next, events_.begin()->first);
  return std::max(next, now_);
}

void Scheduler::AdvanceTo(int64_t now) {
  if (now < now_) return;
  if (now - now_ > kStall) {
    // Dropped, not run late: the grid continues from the present.
    now_ = now;
    if (started_) {
      next33_ = now + kPhysicsPeriod;
      next100_ = now + kLogicPeriod;
    }
  }
  // Visit every time at which something falls due, in order, so that ticks and idle passes
  // interleave as they would in real time.
  while (true) {
    int64_t t = NextDue();
    if (t > now) break;
    RunAt(t);
  }
  now_ = now;
  AdvanceSound(now);
}

void Scheduler::AdvanceSound(int64_t t) {
  if (t == soundAt_) return;
  soundAt_ = t;
  if (h_.advanceSound) h_.advanceSound(t);
}

void Scheduler::RunAt(int64_t t) {
  now_ = t;
  while (!events_.empty() && events_.begin()->first <= t) {
    auto fn = std::move(events_.begin()->second);
    events_.erase(events_.begin());
    fn();
  }
  AdvanceSound(t);
  while (started_ && !physicsStopped_ && next33_ <= t) {
    next33_ += kPhysicsPeriod;
    if (h_.physicsTick) h_.physicsTick();
  }
  while (started_ && next100_ <= t) {
    next100_ += kLogicPeriod;
    if (h_.logicTick) h_.logicTick();
  }
  if (t - lastIdle_ >= idleInterval_) {
    // The idle pass's own rules for its elapsed time: a pause of over a second counts as 20 ms.
    int64_t elapsed = t - lastIdle_;
    int dt = elapsed > kStall ? 20 : static_cast<int>(std::max<int64_t>(elapsed, 1));
    lastIdle_ = t;
    if (h_.idlePass) h_.idlePass(dt);
  }
}

}  // namespace kavrin
