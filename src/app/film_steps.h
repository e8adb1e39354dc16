#pragma once
// The film track inside a run: what its steps read of the run, the services a film switch
// uses, and how the run stops the train where the film stops.
#include "app/scheduler.h"
#include "app/sim.h"
#include "app/ui_host.h"
#include "presentation/film_source.h"
#include "presentation/film_track.h"
#include "sound/sound_bank.h"

namespace kavrin {

class RunFilmHost : public FilmHost {
 public:
  RunFilmHost(Sim& sim, SoundBank& sound, UiHost& ui, FilmSource& film, Scheduler& scheduler)
      : sim_(sim), sound_(sound), ui_(ui), film_(film), scheduler_(scheduler) {}

  void AddMemoLine(std::string_view line) override { ui_.AddMemoLine(line); }
  void StopPhysics() override { scheduler_.StopPhysics(); }
  void StartPhysics() override { scheduler_.StartPhysics(); }
  void OpenMainFilm() override;
  void OpenInsert(const std::string& name) override;
  void PlayRouteSound(int32_t k) override;
  void PutTrainAt(long double position) override { sim_.dynamics.Position = position; }

 private:
  void Open(const std::string& name);
  Sim& sim_;
  SoundBank& sound_;
  UiHost& ui_;
  FilmSource& film_;
  Scheduler& scheduler_;
};

TFilmInputs FilmInputs(const Sim& sim);

// The train where the film stopped it: standing without braking, power off, the running, route
// and calling sounds silent; at an end of the film the gearbox in neutral as well.
void ApplyFilmStop(Sim& sim, SoundBank& sound, TFilmStop stop);

// The idle pass's film steps, with their stop applied.
void FilmIdlePass(Sim& sim, int dtMs, FilmSource& film, RunFilmHost& host, SoundBank& sound);

}  // namespace kavrin
