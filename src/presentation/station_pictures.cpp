#include "presentation/station_pictures.h"

namespace kavrin {

void ShowStationPictures(SpriteEngine& sprites, const TStationSprites& ids, const TStationPictures& p) {
  if (TSprite* s = sprites.Get(ids.LampDoor)) s->Visible = p.LampDoor;
  if (TSprite* s = sprites.Get(ids.LampStopAlert); s && p.LampStopAlert >= 0) s->Visible = p.LampStopAlert == 1;
  if (TSprite* s = sprites.Get(ids.DoorPicture)) s->Visible = p.DoorPicture;
  if (TSprite* s = sprites.Get(ids.DoorPictureOther)) s->Visible = p.DoorPictureOther;
  if (TSprite* s = sprites.Get(ids.StopRequest); s && p.StopRequest) s->Visible = true;
  if (TSprite* s = sprites.Get(ids.StopMarker)) s->AnimStart = p.StopMarker;
  if (TSprite* s = sprites.Get(ids.Monitor)) s->AnimStart = p.MonitorPattern;
  if (TSprite* s = sprites.Get(ids.CrossLamp2); s && p.HideCrossLamp2) s->Visible = false;
}

}  // namespace kavrin
