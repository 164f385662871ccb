#pragma once
// Text conversions between the system's GBK and Qt.

#include <QString>

#include <string>

#include "platform/codepage.h"

namespace platform::window {

inline QString toQt(const std::string& gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }
inline std::string fromQt(const QString& text) { return utf8ToGbk(text.toStdString()); }

}  // namespace platform::window
