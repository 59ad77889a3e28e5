#include "platform/QtFileSystem.h"

#include <QFile>

namespace travenor {

bool QtFileSystem::remove(const std::string& path) {
    const QString name = QString::fromStdString(path);
    return !QFile::exists(name) || QFile::remove(name);
}

bool QtFileSystem::write(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    return written == static_cast<qint64>(bytes.size()) && file.error() == QFile::NoError;
}

std::optional<std::string> QtFileSystem::readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray data = file.readAll();
    if (file.error() != QFile::NoError) return std::nullopt;
    return data.toStdString();
}

}  // namespace travenor
