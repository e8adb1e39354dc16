#include "app/film_steps.h"

#include "core/paths.h"

namespace kavrin {

void RunFilmHost::Open(const std::string& name) {
  film_.AviOpen(ResolveDataPath(sim_.ProgramFolder, sim_.files.Strings.MoviePath + name + ".avi"));
}

void RunFilmHost::OpenMainFilm() { Open(sim_.route.DataName); }

void RunFilmHost::OpenInsert(const std::string& name) { Open(name); }

void RunFilmHost::PlayRouteSound(int32_t k) {
  const TChannelLayout& layout = sim_.sounds.Layout;
  if (k < 0 || k >= layout.SoundDataCount) return;
  const int channel = layout.RouteChannel(k);
  if (channel < 0 || channel >= SoundBank::ChannelCount || !sound_.HasWaveData(channel)) return;
  if (sound_.GetStatus(channel) == 0) sound_.Play(channel);
}

TFilmInputs FilmInputs(const Sim& sim) {
  TFilmInputs in;
  in.Speed = sim.dynamics.Speed;
  in.FilmSpeed = sim.dynamics.FilmSpeed;
  in.DispRate = sim.files.Strings.DispRate;
  in.FrameRate = sim.route.FrameRate;
  in.ClockTime = sim.clock.ClockTime;
  in.Position = sim.dynamics.Position;
  return in;
}

void ApplyFilmStop(Sim& sim, SoundBank& sound, TFilmStop stop) {
  if (stop == TFilmStop::None) return;
  sim.dynamics.Speed = 0;
  sim.handle.PowerNotch = 0;
  sim.delayed.AppliedNotch = 0;
  const TChannelLayout& layout = sim.sounds.Layout;
  const int64_t last = int64_t{layout.DriveSoundCount} + layout.SoundDataCount + sim.route.KankoCount();
  for (int64_t ch = 1; ch <= last && ch < SoundBank::ChannelCount; ++ch) {
    if (sound.HasWaveData(static_cast<int>(ch))) sound.Stop(static_cast<int>(ch));
  }
  if (stop == TFilmStop::FilmEnd) {
    sim.diesel.Gear = 0;
    sim.handle.GearLever = 1;
  }
}

void FilmIdlePass(Sim& sim, int dtMs, FilmSource& film, RunFilmHost& host, SoundBank& sound) {
  const TFilmStop stop = FilmIdleStep(sim.film, sim.run.LastFrame, sim.route, FilmInputs(sim), dtMs, film, host);
  ApplyFilmStop(sim, sound, stop);
}

}  // namespace kavrin
