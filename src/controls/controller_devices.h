#pragma once
// The two devices an external controller comes through: a game controller that is polled and a
// serial port that delivers what it receives. The platform implements them; without either the
// null devices below stand in and the keyboard alone drives the train.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kavrin {

// One reading of a game controller: the X and Y axes of its first stick as the device gives
// them, and buttons 0 to 15 (bit i set while button i is down).
struct TPadReading {
  int32_t X = 0;
  int32_t Y = 0;
  uint32_t Buttons = 0;

  bool Pressed(int button) const { return (Buttons >> button) & 1U; }
};

class GamepadPoll {
 public:
  virtual ~GamepadPoll() = default;
  // The first game controller's state now; nothing while no controller is plugged in.
  virtual std::optional<TPadReading> Poll() = 0;
};

// A serial port at 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
class SerialLink {
 public:
  virtual ~SerialLink() = default;
  // False when the port cannot be opened; the link then stays closed.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual std::string PortName() const = 0;
  // Takes effect at the next Open.
  virtual void SetPortName(const std::string& name) = 0;

  // Called with the characters of each receive event, on the thread that runs the ticks and
  // the keys, never inside a tick.
  std::function<void(std::string_view)> onReceive;
};

class NullGamepad : public GamepadPoll {
 public:
  std::optional<TPadReading> Poll() override { return std::nullopt; }
};

class NullSerialLink : public SerialLink {
 public:
  bool Open() override { return false; }
  void Close() override {}
  bool IsOpen() const override { return false; }
  std::string PortName() const override { return {}; }
  void SetPortName(const std::string&) override {}
};

}  // namespace kavrin
