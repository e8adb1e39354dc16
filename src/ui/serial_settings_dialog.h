#pragma once
// The serial port's settings dialog: the ports the machine has, or a device typed in.
#include <QDialog>

class QComboBox;

namespace kavrin {

class SerialLink;

class SerialSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SerialSettingsDialog(SerialLink& link, QWidget* parent = nullptr);

  QComboBox* ports() { return ports_; }

  // An open port moves to the chosen one at once.
  void accept() override;

 private:
  SerialLink& link_;
  QComboBox* ports_;
};

}  // namespace kavrin
