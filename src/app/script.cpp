#include "app/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "controls/controller_menu.h"
#include "controls/controller_state.h"
#include "core/numbers.h"
#include "core/text.h"

namespace kavrin {

namespace {

constexpr std::array<std::string_view, 22> kKeyNames = {
    "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "Enter", "Space", "Backspace", "PageUp", "PageDown", "ScrollLock", "Up", "Down",
    "Left", "Right", "Escape"};

constexpr std::array<std::string_view, 9> kMenuFixed = {"start1", "Save1", "Save2", "Save3", "Load1",
                                                         "Load2", "Load3", "OFF1", "D1"};
constexpr std::array<std::string_view, 4> kMenuMore = {"OFF2", "OFFV1", "OFFC1", "P1"};

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> w;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) w.push_back(s.substr(start, i - start));
  }
  return w;
}

bool KeyName(std::string_view name, InputEvent& e, bool allowChar) {
  if (name.substr(0, 6) == "Shift+") {
    e.shift = true;
    name.remove_prefix(6);
  }
  if (std::find(kKeyNames.begin(), kKeyNames.end(), name) != kKeyNames.end()) {
    e.text = std::string(name);
    return true;
  }
  if (allowChar && name.size() == 1) {
    e.text = std::string(name);
    return true;
  }
  return false;
}

bool MenuName(std::string_view name) {
  if (std::find(kMenuFixed.begin(), kMenuFixed.end(), name) != kMenuFixed.end()) return true;
  if (std::find(kMenuMore.begin(), kMenuMore.end(), name) != kMenuMore.end()) return true;
  if (ControllerMenuItem(name)) return true;
  if (name.substr(0, 3) == "Sta" && name.size() > 3) return ParseInt(name.substr(3)).has_value();
  return false;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char c = s[++i];
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 's' ? ' ' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

// A button mask in decimal, or in hexadecimal after "0x".
std::optional<int32_t> ParseMask(std::string_view s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(s.data() + 2, s.data() + s.size(), v, 16);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
  }
  return ParseInt(s);
}

// Parses the event part of a line; false when it is not a known event.
bool ParseEvent(std::string_view rest, InputEvent& e) {
  auto w = Words(rest);
  if (w.empty()) return false;
  std::string_view verb = w[0];
  auto arg = [&](size_t i) { return i < w.size() ? w[i] : std::string_view{}; };
  if (verb == "char" && w.size() == 2) {
    e.kind = InputKind::Char;
    e.text = w[1] == "space" ? " " : std::string(w[1]);
    return e.text.size() == 1;
  }
  if ((verb == "key" || verb == "keydown" || verb == "keyup") && w.size() == 2) {
    e.kind = verb == "key" ? InputKind::Key : verb == "keydown" ? InputKind::KeyDown : InputKind::KeyUp;
    return KeyName(w[1], e, verb != "key");
  }
  if (verb == "wheel" && w.size() == 2 && (w[1] == "up" || w[1] == "down")) {
    e.kind = w[1] == "up" ? InputKind::WheelUp : InputKind::WheelDown;
    return true;
  }
  if (verb == "click" && w.size() == 2 && w[1] == "cab") {
    e.kind = InputKind::ClickCab;
    return true;
  }
  if (verb == "menu" && w.size() == 2 && MenuName(w[1])) {
    e.kind = InputKind::Menu;
    e.text = std::string(w[1]);
    return true;
  }
  if (verb == "ats" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
    e.kind = w[1] == "on" ? InputKind::AtsOn : InputKind::AtsOff;
    return true;
  }
  if (verb == "engine" && w.size() == 2 && (w[1] == "start" || w[1] == "stop")) {
    e.kind = w[1] == "start" ? InputKind::EngineStart : InputKind::EngineStop;
    return true;
  }
  if (verb == "controller" && w.size() == 2) {
    auto n = ParseInt(w[1]);
    e.kind = InputKind::Controller;
    e.number = n.value_or(0);
    return n && *n >= 0 && *n < kControllerTypes;
  }
  if (verb == "serial" && w.size() >= 2) {
    e.kind = InputKind::Serial;
    // Everything after the verb, as written; "\r" is a carriage return.
    std::string_view text = TrimBlanks(rest);
    text.remove_prefix(verb.size());
    e.text = Unescape(TrimBlanks(text));
    return true;
  }
  if (verb == "pad" && w.size() == 4) {
    auto x = ParseInt(arg(1)), y = ParseInt(arg(2)), b = ParseMask(arg(3));
    if (!x || !y || !b || *b < 0 || *b > 0xFFFF) return false;
    e.kind = InputKind::Pad;
    e.x = *x;
    e.y = *y;
    e.buttons = static_cast<uint32_t>(*b);
    return true;
  }
  if (verb == "back" && w.size() == 1) {
    e.kind = InputKind::Back;
    return true;
  }
  return false;
}

}  // namespace

bool ParseScript(std::string_view text, std::vector<ScriptEvent>& out, std::string& error) {
  out.clear();
  auto lines = SplitLines(text);
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string_view line = lines[n];
    // "#" starts a comment at the start of a line or after a blank, so serial text and
    // characters may still contain one.
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
        line = line.substr(0, i);
        break;
      }
    }
    std::string_view body = TrimBlanks(line);
    if (body.empty() || body.front() == '#') continue;
    size_t space = body.find_first_of(" \t");
    auto ms = ParseInt(body.substr(0, space));
    ScriptEvent se;
    se.line = static_cast<int>(n + 1);
    if (!ms || *ms < 0 || space == std::string_view::npos || !ParseEvent(body.substr(space + 1), se.event)) {
      error = "script line " + std::to_string(n + 1) + ": unknown event: " + std::string(body);
      return false;
    }
    se.ms = *ms;
    out.push_back(std::move(se));
  }
  std::stable_sort(out.begin(), out.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
  return true;
}

}  // namespace kavrin
