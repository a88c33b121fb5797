#include "platform/settings_qt.h"

#include <QSettings>
#include <QString>

namespace kantoria {
namespace {

QString KeyOf(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

class QtSettings final : public SettingsStore {
  public:
    std::optional<std::string> GetString(std::string_view section,
                                         std::string_view name) const override {
        const QVariant value = settings_.value(KeyOf(section, name));
        if (!value.isValid()) return std::nullopt;
        return value.toString().toStdString();
    }
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override {
        settings_.setValue(KeyOf(section, name),
                           QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    }

  private:
    mutable QSettings settings_{QStringLiteral("Velmoor"), QStringLiteral("MORKA2")};
};

}  // namespace

std::unique_ptr<SettingsStore> CreateUserSettings() {
    return std::make_unique<QtSettings>();
}

}  // namespace kantoria
