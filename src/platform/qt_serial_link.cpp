#include "platform/qt_serial_link.h"

namespace kavrin {

QtSerialLink::QtSerialLink(QObject* parent) : QObject(parent) {
  port_.setPortName(kDefaultPort);
  connect(&port_, &QSerialPort::readyRead, this, &QtSerialLink::Received);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialLink::Failed);
}

QtSerialLink::~QtSerialLink() { Close(); }

bool QtSerialLink::Open() {
  if (port_.isOpen()) return true;
  if (!port_.open(QIODevice::ReadWrite)) return false;
  bool configured = port_.setBaudRate(QSerialPort::Baud9600) && port_.setDataBits(QSerialPort::Data8) &&
                    port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                    port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!configured) {
    port_.close();
    return false;
  }
  // Whatever waited in the port before it was ours belongs to no message.
  port_.clear(QSerialPort::Input);
  return true;
}

void QtSerialLink::Close() {
  if (port_.isOpen()) port_.close();
}

bool QtSerialLink::IsOpen() const { return port_.isOpen(); }

std::string QtSerialLink::PortName() const { return port_.portName().toStdString(); }

void QtSerialLink::SetPortName(const std::string& name) { port_.setPortName(QString::fromStdString(name)); }

void QtSerialLink::Received() {
  QByteArray bytes = port_.readAll();
  if (bytes.isEmpty() || !onReceive) return;
  onReceive(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void QtSerialLink::Failed(QSerialPort::SerialPortError error) {
  // The device is gone (a pulled adapter gives a resource error, a terminal whose other side
  // closed a read error): the error would only repeat on every read, so the port closes.
  if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && port_.isOpen()) port_.close();
}

}  // namespace kavrin
