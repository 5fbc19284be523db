#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velmora {

// The core's texts are UTF-16 code units, as QString's are: the conversion is a copy.
inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16(const QString& text) {
  return text.toStdU16String();
}

}  // namespace velmora
