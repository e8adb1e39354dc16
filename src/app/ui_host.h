#pragma once
// What the run asks of its window. The Qt window implements it; the headless harness and the
// tests implement it without a screen.
#include <string>

#include "core/load_error.h"

namespace kavrin {

// The simulator window's own caption, until the run puts another there.
inline constexpr const char* kSimulatorTitle = "鉄道運転シミュレータ";

class UiHost {
 public:
  virtual ~UiHost() = default;
  // The title screen's status label during loading (repainted at once).
  virtual void SetStatusText(const std::string& text) = 0;
  // The caption of the "Start" menu item.
  virtual void SetStartCaption(const std::string& text) = 0;
  // 255 opaque .. 0 invisible; the first call switches the window's alpha blending on.
  virtual void SetWindowOpacity(int alpha) = 0;
  // Asks the window to close; the close runs FormCloseQuery.
  virtual void CloseWindow() = 0;
  // A message box; the call returns when the user has dismissed it.
  virtual void ShowMessage(const std::string& text) = 0;
  // A message box during loading that does not stop the load (a film that cannot be opened).
  // The place is for tools that report to route authors; the window shows the text alone.
  virtual void ShowLoadMessage(const std::string& text, const TLoadPlace&) { ShowMessage(text); }
  // The simulator window's caption.
  virtual void SetWindowCaption(const std::string& text) = 0;
};

}  // namespace kavrin
