#pragma once
// The film track and the trackside pictures by name.
#include "core/probe.h"
#include "presentation/cab_gauges.h"
#include "presentation/film_track.h"
#include "presentation/sprites.h"
#include "presentation/trackside_images.h"

namespace kavrin {

TProbeNames<TFilmState> FilmProbeNames();
TProbeNames<TPanelState> PanelProbeNames();
TProbeNames<TCabView> SpriteProbeNames();
TProbeNames<TTracksideImages> TracksideProbeNames();

}  // namespace kavrin
