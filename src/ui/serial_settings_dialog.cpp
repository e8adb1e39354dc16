#include "ui/serial_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSerialPortInfo>

#include "controls/controller_devices.h"

namespace kavrin {

SerialSettingsDialog::SerialSettingsDialog(SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link), ports_(new QComboBox(this)) {
  setWindowTitle("QZマスコン（設定）");
  ports_->setEditable(true);
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    QString text = info.portName();
    ports_->addItem(text);
  }
  const QString current = QString::fromStdString(link.PortName());
  int at = ports_->findText(current);
  if (at < 0) {
    ports_->insertItem(0, current);
    at = 0;
  }
  ports_->setCurrentIndex(at);

  auto* form = new QFormLayout(this);
  form->addRow("ポート", ports_);
  form->addRow("通信設定", new QLabel("9600 bps, 8 bit, パリティなし, ストップビット 1, フロー制御なし", this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SerialSettingsDialog::accept() {
  const std::string name = ports_->currentText().trimmed().toStdString();
  if (!name.empty() && name != link_.PortName()) {
    bool wasOpen = link_.IsOpen();
    link_.Close();
    link_.SetPortName(name);
    if (wasOpen) link_.Open();
  }
  QDialog::accept();
}

}  // namespace kavrin
