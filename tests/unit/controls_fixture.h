#pragma once
// A train, a cab and a sound bank for the key tests: the handle state and everything the keys
// reach, built from plain values so that each test states the vehicle it needs.
#include <string>
#include <string_view>

#include "controls/controls.h"
#include "controls/keys.h"
#include "controls/mascon_update.h"
#include "presentation/film_track.h"
#include "support/fake_sound_bank.h"

namespace kavrin::test {

struct ControlsRig {
  TVehicleParams veh;
  TVehicleTables tables;
  TPanelSprites panel;
  TStringFile strings;
  TCabView view;
  FakeSoundBank sound;
  TKeyActions actions;
  THandleState h;
  TDelayedHandle d;
  TKeyState keys;
  long double speed = 0;
  int32_t emergencyTrip = 0, atsTrip = 0, doorState = 0;
  int32_t curFrame = 0, clockTime = 0;
  int32_t frameCount = 0;
  int32_t oneMan = 0, oneManDoors = 0;
  bool running = true;

  ControlsRig() {
    veh.Handle = 0;  // one handle
    veh.BrakeType = 1;
    veh.Brake = 8;
    veh.Power = 5;
    veh.Engine_Type = 1;
    strings.TxtNeut = "N";
    strings.TxtNeut2 = "P0";
    strings.TxtEB = "EB";
    strings.TxtHold2 = "HOLD";
    strings.TxtConst = "CONST";
    strings.TxtForward = "FWD";
    strings.TxtNeutral = "NEU";
    strings.TxtReverse = "REV";
    strings.TxtApply = "APPLY";
    strings.TxtHold = "LAP";
    strings.TxtMaintain = "KEEP";
    strings.TxtRemove = "REMOVE";
    strings.TxtGears = {"G-N", "G-C", "G-D"};
    strings.TxtDoors = {"LEFT", "RIGHT"};
    h.BrakeNotch = d.LastBrakeNotch = d.SapNotch = -veh.Brake;
  }

  TControls ctx() {
    // The debug keys move the film and the speed through their owners.
    actions.StepFilm = [this](int32_t frames, int32_t clock) {
      TFilmState film;
      film.CurFrame = curFrame;
      film.FrameCount = frameCount;
      StepFilmFrames(film, frames);
      curFrame = film.CurFrame;
      clockTime += clock;
    };
    actions.ChangeSpeed = [this](long double delta) { speed += delta; };
    TTrainLink link;
    link.Speed = speed;
    link.EmergencyTrip = emergencyTrip;
    link.ATSTrip = atsTrip;
    link.DoorState = doorState;
    link.OneMan = oneMan;
    link.OneManDoors = oneManDoors;
    return TControls{h, d, keys, veh, tables, panel, strings, view, sound, actions, link, running};
  }

  // Types each character in turn.
  void Type(std::string_view chars) {
    for (char ch : chars) {
      TControls c = ctx();
      AsciiDown(c, ch);
    }
  }
  void KeyDown(int32_t key, bool shift = false) {
    TControls c = ctx();
    keydowns(c, key, shift);
  }
  void KeyUp(int32_t key, bool shift = false) {
    TControls c = ctx();
    keyups(c, key, shift);
  }
  void WheelDown() {
    TControls c = ctx();
    WheelD(c);
  }
  void WheelUp() {
    TControls c = ctx();
    WheelU(c);
  }
  void Update() {
    TControls c = ctx();
    masconupdate(c);
  }

  // The handle as a driver reads it: "EB", "B3", "H" (hold step), "N", "P2".
  std::string Pos() const {
    if (h.PowerNotch > 0) return "P" + std::to_string(h.PowerNotch);
    if (h.HoldEngaged) return "H";
    if (h.BrakeNotch == -veh.Brake) return "EB";
    if (h.BrakeNotch < 0) return "B" + std::to_string(-h.BrakeNotch);
    return "N";
  }
  // Both handles: "P1/B3".
  std::string Both() const {
    return "P" + std::to_string(h.PowerNotch) + "/" + (h.HoldEngaged ? "H" : "B" + std::to_string(-h.BrakeNotch));
  }

  void SetBrake(int32_t notch) { h.BrakeNotch = d.LastBrakeNotch = notch; }
  void SetPower(int32_t notch) { h.PowerNotch = d.AppliedNotch = notch; }

  // A sprite on a picture of `patterns` cells of 10 x 10.
  SpriteId PatternSprite(int32_t patterns) {
    TPictureEntry e;
    e.Bitmap.Width = 10 * patterns;
    e.Bitmap.Height = 10;
    e.Bitmap.Rgba.assign(static_cast<size_t>(e.Bitmap.Width) * 10 * 4, 0);
    e.PatternWidth = 10;
    e.PatternHeight = 10;
    int32_t image = view.ImageList1.Add(e);
    return CreateSprite(view, image, 0, 0, 30);
  }
  const TSprite& Sprite(SpriteId id) const { return *view.DXSpriteEngine1.Get(id); }

  // Gives `channel` a one-second wave so that its plays and stops are counted.
  void Loaded(int channel) { sound.SetWaveData(channel, FakeSoundBank::WaveOf(1.0)); }
  int Plays(int channel) const { return sound.ch[static_cast<size_t>(channel)].plays; }
  int Stops(int channel) const { return sound.ch[static_cast<size_t>(channel)].stops; }
};

}  // namespace kavrin::test
