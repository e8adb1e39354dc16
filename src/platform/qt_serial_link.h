#pragma once
// The serial port on QSerialPort, at 9600 baud 8N1 without flow control. Received characters
// arrive through the toolkit's event loop, on its thread, between the run's ticks. A port that
// goes away (a USB adapter pulled out) is closed quietly; the connect item opens it again.
#include <QObject>
#include <QSerialPort>
#include <string>

#include "controls/controller_devices.h"

namespace kavrin {

class QtSerialLink : public QObject, public SerialLink {
  Q_OBJECT
 public:
  // The first serial port of the machine, as "COM1" is elsewhere.
  static constexpr const char* kDefaultPort = "ttyS0";

  explicit QtSerialLink(QObject* parent = nullptr);
  ~QtSerialLink() override;

  bool Open() override;
  void Close() override;
  bool IsOpen() const override;
  std::string PortName() const override;
  // A name as the port list gives it ("ttyUSB0") or a device path ("/dev/pts/3").
  void SetPortName(const std::string& name) override;

 private:
  void Received();
  void Failed(QSerialPort::SerialPortError error);

  QSerialPort port_;
};

}  // namespace kavrin
