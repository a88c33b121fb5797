// File types on Linux: the shared MIME database through Qt, the default applications through
// GIO. A simple suffix pattern "*.ext" is an extension, the MIME type its type name.
#include <QMimeDatabase>
#include <QMimeType>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "platform/freedesktop/default_application.h"
#include "platform/system_file_types.h"

#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

std::optional<std::string> NonEmpty(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    return text.toStdString();
}

// "*.ext" without further wildcards or dots gives ".ext"; anything else names no extension.
std::optional<std::string> ExtensionOfPattern(const QString& pattern) {
    if (pattern.size() < 3 || !pattern.startsWith(QLatin1String("*."))) return std::nullopt;
    for (qsizetype i = 2; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'.' || c == u'*' || c == u'?' || c == u'[' || c == u']') return std::nullopt;
    }
    return pattern.mid(1).toStdString();
}

bool IsPlainExtension(std::string_view key) {
    return key.size() >= 2 && key[0] == '.' &&
           key.find_first_of("/\\", 1) == std::string_view::npos &&
           key.find('\0') == std::string_view::npos;
}

class FreedesktopFileTypes final : public FileTypeRegistry {
  public:
    std::vector<ExtensionType> Extensions() override;
    std::optional<std::string> TypeNameOf(std::string_view key) override;
    std::optional<std::string> Description(std::string_view typeName) override;
    std::optional<std::string> DefaultIcon(std::string_view typeName) override;
    std::string AssociatedProgram(std::string_view path) override;

  private:
    struct TypeInfo {
        std::optional<std::string> description;
        std::optional<std::string> icon;
    };
    const TypeInfo& Type(std::string_view typeName);

    // Reading a type's description parses its XML file, so every answer is kept.
    QMimeDatabase db_;
    std::optional<std::vector<ExtensionType>> extensions_;
    std::unordered_map<std::string, std::optional<std::string>> typeOfKey_;
    std::unordered_map<std::string, TypeInfo> types_;
    std::unordered_map<std::string, std::string> programOfExtension_;
};

std::vector<ExtensionType> FreedesktopFileTypes::Extensions() {
    if (extensions_) return *extensions_;
    std::vector<ExtensionType> list;
    std::unordered_set<std::string> seen;
    for (const QMimeType& type : db_.allMimeTypes()) {
        for (const QString& pattern : type.globPatterns()) {
            std::optional<std::string> ext = ExtensionOfPattern(pattern);
            if (!ext || !seen.insert(*ext).second) continue;
            // Several types may claim one suffix: the extension names the one the database
            // picks for a file that has it, as a lookup of the extension does.
            std::string typeName = TypeNameOf(*ext).value_or("");
            list.push_back({std::move(*ext), std::move(typeName)});
        }
    }
    extensions_ = std::move(list);
    return *extensions_;
}

std::optional<std::string> FreedesktopFileTypes::TypeNameOf(std::string_view key) {
    const std::string keyText(key);
    if (const auto it = typeOfKey_.find(keyText); it != typeOfKey_.end()) return it->second;
    std::optional<std::string> typeName;
    if (IsPlainExtension(key)) {
        QStringList names;
        for (const QMimeType& type : db_.mimeTypesForFileName(ToQt("x" + keyText)))
            names << type.name();
        names.sort();  // equal matches come in no fixed order
        if (!names.isEmpty()) typeName = names.first().toStdString();
    }
    return typeOfKey_.emplace(keyText, std::move(typeName)).first->second;
}

const FreedesktopFileTypes::TypeInfo& FreedesktopFileTypes::Type(std::string_view typeName) {
    const std::string name(typeName);
    if (const auto it = types_.find(name); it != types_.end()) return it->second;
    TypeInfo info;
    const QMimeType type = db_.mimeTypeForName(ToQt(name));
    if (type.isValid()) {
        // QMimeType::comment picks the translation for QLocale(), which Qt takes from
        // LC_ALL, LC_MESSAGES, LANG and LANGUAGE.
        info.description = NonEmpty(type.comment());
        info.icon = NonEmpty(type.iconName());
        if (!info.icon) info.icon = NonEmpty(type.genericIconName());
    }
    return types_.emplace(name, std::move(info)).first->second;
}

std::optional<std::string> FreedesktopFileTypes::Description(std::string_view typeName) {
    return Type(typeName).description;
}

std::optional<std::string> FreedesktopFileTypes::DefaultIcon(std::string_view typeName) {
    return Type(typeName).icon;
}

std::string FreedesktopFileTypes::AssociatedProgram(std::string_view path) {
    // Like the shell on Windows, only an existing file has a program.
    std::error_code error;
    if (!std::filesystem::exists(ToSystemName(path), error)) return {};
    const std::string extension(SplitPath(path).extension);
    if (const auto it = programOfExtension_.find(extension); it != programOfExtension_.end())
        return it->second;
    const std::optional<std::string> typeName = TypeNameOf(extension);
    std::string program = typeName ? DefaultApplicationExecutable(*typeName) : std::string();
    return programOfExtension_.emplace(extension, std::move(program)).first->second;
}

}  // namespace

std::unique_ptr<FileTypeRegistry> MakeSystemFileTypes() {
    return std::make_unique<FreedesktopFileTypes>();
}

}  // namespace kantoria
