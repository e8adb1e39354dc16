#pragma once
// "ostrel.dat": display numbers, the texts of the handle and station displays and the menu
// captions.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/data_file.h"

namespace kavrin {

inline constexpr const char* kStringFileName = "ostrel.dat";
inline constexpr const char* kStringFileError = "stringファイルに誤りがあります";

struct TStringFile {
  // "[Disp]"
  long double DispRate = 0;
  long double FrameCountFactor = 0;
  int32_t OverlayLeft = 0;
  int32_t ScreenWidth = 0;
  int32_t ScreenHeight = 0;

  std::string MoviePath;
  std::string TxtForward, TxtNeutral, TxtReverse;
  std::string TxtStop, TxtPass, TxtStop2;
  std::string TxtNeut, TxtNeut2;
  std::string TxtApply, TxtMaintain, TxtRemove, TxtHold, TxtHold2, TxtEB, TxtConst;
  std::string TxtCars, TxtTC;
  std::array<std::string, 2> TxtStops, TxtDoors;
  std::array<std::string, 3> TxtGears;
  std::array<std::string, 100> InfoLabels;

  // Menu captions; the built-in ones stay when the file has no key for them.
  std::string StartCaption = "Start";
  std::string MoveCaption = "Move";
  std::string DisplayCaption = "Display";
  std::string ControlCaption = "Controller(&C)";
  std::string SaveCaption = "Save(&S)";
};

// Throws LoadError with kStringFileError.
TStringFile ReadStringFile(DataFile& file);
TStringFile LoadStringFile(const std::string& path);

}  // namespace kavrin
