#pragma once

#include <QString>

#include <string>
#include <string_view>

// The crossing between the program's Windows-1252 text and Qt's strings.
namespace kestrix::runtime {

inline QString toQt(std::string_view cp1252);
inline std::string fromQt(const QString& text);

} // namespace kestrix::runtime

#include "runtime/TextCodec.h"

namespace kestrix::runtime {

inline QString toQt(std::string_view cp1252)
{
    return QString::fromStdString(cp1252ToUtf8(cp1252));
}

inline std::string fromQt(const QString& text)
{
    return utf8ToCp1252(text.toStdString());
}

} // namespace kestrix::runtime
