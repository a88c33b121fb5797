// Crossing between the program's UTF-8 strings and Qt's.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "core/text/text_codec.h"

namespace kantoria {

inline QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text as the screen shows it: bytes no encoding could decode appear as U+FFFD.
inline QString ToDisplayQt(std::string_view text) {
    return ToQt(ToDisplayText(text));
}

// Text of a catalogue in enc as the screen shows it (see ToDisplayText).
inline QString ToDisplayQt(std::string_view text, Encoding enc) {
    return ToQt(ToDisplayText(text, enc));
}

inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// A local file path as the program holds it.
inline std::string PathFromQt(const QString& path) {
    return path.toStdString();
}

}  // namespace kantoria
