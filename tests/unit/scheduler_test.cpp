#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/scheduler.h"

namespace kavrin {
namespace {

// Records what ran at which time: "P@33" a 33 ms tick, "L@100" a 100 ms tick, "I@16/16" an idle
// pass with its elapsed time, "E@50" an event, "S@33" the sound advanced.
struct Log {
  std::vector<std::string> items;
  Scheduler* s = nullptr;
  std::string At(const char* what) { return std::string(what) + "@" + std::to_string(s->Now()); }
};

Scheduler Make(Log& log, int64_t idle = 16, bool sound = false) {
  Scheduler::Handlers h;
  if (sound) h.advanceSound = [&log](int64_t t) { log.items.push_back("S@" + std::to_string(t)); };
  h.physicsTick = [&log] { log.items.push_back(log.At("P")); };
  h.logicTick = [&log] { log.items.push_back(log.At("L")); };
  h.idlePass = [&log](int dt) { log.items.push_back(log.At("I") + "/" + std::to_string(dt)); };
  return Scheduler(h, idle);
}

std::vector<std::string> Only(const std::vector<std::string>& all, char kind) {
  std::vector<std::string> out;
  for (const auto& s : all) if (s[0] == kind) out.push_back(s);
  return out;
}

TEST(Scheduler, TicksFallOnTheGridFromTheStartAndInOrderAtEqualTimes) {
  Log log;
  Scheduler s = Make(log, 1000000);
  log.s = &s;
  s.AdvanceTo(7);
  s.Start();  // T = 7
  s.AdvanceTo(7 + 330);
  EXPECT_EQ(Only(log.items, 'P').front(), "P@40");
  EXPECT_EQ(Only(log.items, 'P').size(), 10u);
  EXPECT_EQ(Only(log.items, 'L'), (std::vector<std::string>{"L@107", "L@207", "L@307"}));
  // At T + 3300 both are due: the 33 ms tick runs first.
  log.items.clear();
  for (int64_t t = 337; t <= 7 + 3300; t += 100) s.AdvanceTo(t);
  s.AdvanceTo(7 + 3300);
  ASSERT_GE(log.items.size(), 2u);
  EXPECT_EQ(log.items[log.items.size() - 2], "P@3307");
  EXPECT_EQ(log.items.back(), "L@3307");
}

TEST(Scheduler, PauseStopsTicksAndResumeRestartsTheGrid) {
  Log log;
  Scheduler s = Make(log, 1000000);
  log.s = &s;
  s.Start();
  s.AdvanceTo(50);  // one tick at 33
  s.Stop();
  s.AdvanceTo(500);
  EXPECT_EQ(Only(log.items, 'P'), (std::vector<std::string>{"P@33"}));
  s.Start();  // T = 500
  s.AdvanceTo(600);
  EXPECT_EQ(Only(log.items, 'P'), (std::vector<std::string>{"P@33", "P@533", "P@566", "P@599"}));
  EXPECT_EQ(Only(log.items, 'L'), (std::vector<std::string>{"L@600"}));
}

TEST(Scheduler, IdlePassesRunInPauseTooWithTheirElapsedTime) {
  Log log;
  Scheduler s = Make(log, 16);
  log.s = &s;
  s.AdvanceTo(48);
  EXPECT_EQ(log.items, (std::vector<std::string>{"I@16/16", "I@32/16", "I@48/16"}));
}

TEST(Scheduler, OrderAtOneTimeIsEventsSoundTicksIdle) {
  Log log;
  Scheduler s = Make(log, 100, true);
  log.s = &s;
  s.Start();
  s.After(100, [&] { log.items.push_back("E@" + std::to_string(s.Now())); });
  s.AdvanceTo(100);
  std::vector<std::string> at100;
  for (const auto& i : log.items) if (i.find("@100") != std::string::npos) at100.push_back(i);
  EXPECT_EQ(at100, (std::vector<std::string>{"E@100", "S@100", "L@100", "I@100/100"}));
}

TEST(Scheduler, AStallDropsTheMissedTicks) {
  Log log;
  Scheduler s = Make(log, 16);
  log.s = &s;
  s.Start();
  s.AdvanceTo(100);
  log.items.clear();
  s.AdvanceTo(5100);  // five seconds without a call
  // No burst: at most the idle pass now, with the long gap counted as 20 ms.
  EXPECT_TRUE(Only(log.items, 'P').empty());
  EXPECT_TRUE(Only(log.items, 'L').empty());
  EXPECT_EQ(Only(log.items, 'I'), (std::vector<std::string>{"I@5100/20"}));
  s.AdvanceTo(5233);
  EXPECT_EQ(Only(log.items, 'P').front(), "P@5133");
}

TEST(Scheduler, OneShotEventsRunOnceAtTheirTime) {
  Log log;
  Scheduler s = Make(log, 1000000);
  log.s = &s;
  int ran = 0;
  s.AdvanceTo(10);
  s.After(700, [&] { ++ran; EXPECT_EQ(s.Now(), 710); });
  s.AdvanceTo(709);
  EXPECT_EQ(ran, 0);
  s.AdvanceTo(1500);
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

// A change of film inside the 100 ms tick: no 33 ms tick between the stop and the start, the
// 33 ms grid restarts from the switch and the 100 ms grid keeps its place.
TEST(Scheduler, PhysicsStoppedAroundAFilmSwitchRestartsItsGridOnly) {
  Log log;
  Scheduler::Handlers h;
  Scheduler* self = nullptr;
  h.physicsTick = [&] { log.items.push_back(log.At("P")); };
  h.logicTick = [&] {
    log.items.push_back(log.At("L"));
    if (self->Now() == 200) {
      self->StopPhysics();
      self->StartPhysics();
    }
  };
  Scheduler s(h, 1000000);
  self = &s;
  log.s = &s;
  s.Start();
  s.AdvanceTo(400);
  EXPECT_EQ(Only(log.items, 'P'), (std::vector<std::string>{"P@33", "P@66", "P@99", "P@132", "P@165", "P@198",
                                                            "P@233", "P@266", "P@299", "P@332", "P@365", "P@398"}));
  EXPECT_EQ(Only(log.items, 'L'), (std::vector<std::string>{"L@100", "L@200", "L@300", "L@400"}));
  s.StopPhysics();
  s.AdvanceTo(600);
  EXPECT_EQ(Only(log.items, 'P').size(), 12u);
  EXPECT_EQ(Only(log.items, 'L').size(), 6u);
}

}  // namespace
}  // namespace kavrin
