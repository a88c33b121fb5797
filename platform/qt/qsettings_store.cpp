#include "platform/qt/qsettings_store.h"

#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

QString Key(std::string_view section, std::string_view entry) {
    return ToQt(section) + QLatin1Char('/') + ToQt(entry);
}

}  // namespace

QSettingsStore::QSettingsStore(std::string_view organisation, std::string_view application)
    : settings_(QSettings::NativeFormat, QSettings::UserScope, ToQt(organisation),
                ToQt(application)) {}

std::string QSettingsStore::GetProfileString(std::string_view section, std::string_view entry,
                                             std::string_view def) {
    const QVariant value = settings_.value(Key(section, entry));
    if (!value.isValid()) return std::string(def);
    return FromQt(value.toString());
}

int QSettingsStore::GetProfileInt(std::string_view section, std::string_view entry, int def) {
    const QVariant value = settings_.value(Key(section, entry));
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : def;
}

void QSettingsStore::WriteProfileString(std::string_view section, std::string_view entry,
                                        std::string_view value) {
    settings_.setValue(Key(section, entry), ToQt(value));
    settings_.sync();
}

void QSettingsStore::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    settings_.setValue(Key(section, entry), value);
    settings_.sync();
}

}  // namespace kantoria
