#include "platform/qsettings_store.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include "core/numbers.h"

namespace kavrin {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::unique_ptr<QSettings> Open(const std::string& folder, std::string_view key) {
  QString k = Q(key);
  QString organisation = k.section('/', 0, 0);
  QString application = k.section('/', 1);
  if (!folder.empty()) {
    return std::make_unique<QSettings>(Q(folder) + "/" + organisation + "/" + application + ".conf",
                                       QSettings::IniFormat);
  }
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
}

}  // namespace

QSettingsStore::QSettingsStore() = default;
QSettingsStore::QSettingsStore(std::string folder) : folder_(std::move(folder)) {}
QSettingsStore::~QSettingsStore() = default;

std::optional<int32_t> QSettingsStore::ReadInt(std::string_view key, std::string_view name) {
  auto s = Open(folder_, key);
  QVariant v = s->value(Q(name));
  if (!v.isValid()) return std::nullopt;
  // Values read back from a file arrive as strings; an integer stored in this run is an int.
  if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::UInt) {
    return static_cast<int32_t>(v.toLongLong());
  }
  return ParseInt(v.toString().toStdString());
}

std::optional<std::string> QSettingsStore::ReadString(std::string_view key, std::string_view name) {
  auto s = Open(folder_, key);
  QVariant v = s->value(Q(name));
  if (!v.isValid()) return std::nullopt;
  return v.toString().toStdString();
}

bool QSettingsStore::WriteInt(std::string_view key, std::string_view name, int32_t value) {
  auto s = Open(folder_, key);
  s->setValue(Q(name), value);
  s->sync();
  return s->status() == QSettings::NoError;
}

bool QSettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view value) {
  auto s = Open(folder_, key);
  s->setValue(Q(name), Q(value));
  s->sync();
  return s->status() == QSettings::NoError;
}

}  // namespace kavrin
