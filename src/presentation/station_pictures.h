#pragma once
// The cab pictures that follow the station logic: the door lamp, the stop-approach lamp, the
// door-open and stop-request pictures, the stop marker, the monitor and the second crossing lamp.
#include <cstdint>

#include "presentation/sprites.h"

namespace kavrin {

struct TStationPictures {
  bool LampDoor = false;       // lit: doors closed
  int8_t LampStopAlert = -1;   // -1: left as it is
  bool DoorPicture = false;
  bool DoorPictureOther = false;
  bool StopRequest = false;    // once shown, nothing hides it
  int32_t StopMarker = 0;      // cell
  int32_t MonitorPattern = 0;  // cell
  bool HideCrossLamp2 = false;
};

struct TStationSprites {
  SpriteId LampDoor = kNoSprite;
  SpriteId LampStopAlert = kNoSprite;
  SpriteId DoorPicture = kNoSprite;
  SpriteId DoorPictureOther = kNoSprite;
  SpriteId StopRequest = kNoSprite;
  SpriteId StopMarker = kNoSprite;
  SpriteId Monitor = kNoSprite;
  SpriteId CrossLamp2 = kNoSprite;
};

// Puts the pictures on the sprites that exist; a missing sprite is skipped.
void ShowStationPictures(SpriteEngine& sprites, const TStationSprites& ids, const TStationPictures& p);

}  // namespace kavrin
