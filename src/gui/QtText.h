#pragma once

#include <QString>
#include <string>

// The program's texts are UTF-8 in std::string; Qt's are QString.
namespace tarvik {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

}  // namespace tarvik
