#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace uvlamp::app {

// Texts cross between the core and Qt as UTF-8.
inline QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQ(const QString& text) {
    return text.toStdString();
}

// Paths cross in the file system's own encoding, so that no name the directory lists is lost.
inline std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}
inline QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace uvlamp::app
