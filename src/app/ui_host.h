#pragma once
// What the run asks of its window. The Qt window implements it; the headless harness and the
// tests implement it without a screen.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/load_error.h"

namespace kavrin {

// The simulator window's own caption, until the run puts another there.
inline constexpr const char* kSimulatorTitle = "鉄道運転シミュレータ";

// The value display's memo: the newest lines only, so that a frame number a pass over an hour
// does not grow without end. Short lines (a frame number) are kept without allocating.
class TMemoLines {
 public:
  static constexpr size_t kKeep = 1000;
  static constexpr size_t kWidth = 15;

  void Add(std::string_view line) {
    Line& l = lines_[next_];
    l.size = line.copy(l.text.data(), kWidth);
    next_ = (next_ + 1) % kKeep;
    if (count_ < kKeep) ++count_;
  }
  size_t Count() const { return count_; }
  // Line i, 0 the oldest kept.
  std::string_view Get(size_t i) const {
    const Line& l = lines_[(next_ + kKeep - count_ + i) % kKeep];
    return {l.text.data(), l.size};
  }

 private:
  struct Line {
    std::array<char, kWidth> text{};
    size_t size = 0;
  };
  std::array<Line, kKeep> lines_{};
  size_t next_ = 0, count_ = 0;
};

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
  // A line on the value display's memo.
  virtual void AddMemoLine(std::string_view line) { memo.Add(line); }

  TMemoLines memo;
};

}  // namespace kavrin
