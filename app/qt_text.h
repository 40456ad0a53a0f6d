#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts cross between the boxes and formats/ as UTF-8.
namespace morvane {

inline std::string toStd(const QString& text) { return text.toStdString(); }

inline QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace morvane
