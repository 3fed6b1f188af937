#pragma once
// Conversions at the widget edge: the program's texts are code page 936 byte
// strings, Qt's are UTF-16. Any thread.

#include <QString>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace ui {

inline QString FromGbk(std::string_view gbk) {
  return QString::fromStdString(text::GbkToUtf8(gbk));
}
inline std::string ToGbk(const QString& s) { return text::Utf8ToGbk(s.toStdString()); }
// A UTF-8 literal of UiTexts.h as a widget text.
inline QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace ui
