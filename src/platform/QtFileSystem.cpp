#include "platform/QtFileSystem.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

std::string toSystemBytes(const std::string& utf8) {
    QStringEncoder encode(QStringConverter::System);
    const QByteArray bytes = encode(QString::fromStdString(utf8));
    return bytes.toStdString();
}

std::string fromSystemBytes(const std::string& bytes) {
    const QByteArray data = QByteArray::fromStdString(bytes);
    QStringDecoder decode(QStringConverter::System);
    QString text = decode(data);
    if (decode.hasError()) text = QString::fromLatin1(data);
    return text.toStdString();
}

FileOutcome QtFileSystem::saveText(const std::string& path, const std::string& text) {
    // The new text goes to a temporary file beside the old one, which it
    // replaces only when written whole; the direct-write fallback stays off so
    // a failure never truncates the old file in place.
    QSaveFile file(QString::fromStdString(path));
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered write that the disk refuses at commit time is
    // not reported by Qt 6.4, and the short file would replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString().toStdString()};
    const std::string bytes = toSystemBytes(text);
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit()) return {false, file.errorString().toStdString()};
    return {};
}

FileOutcome QtFileSystem::loadText(const std::string& path, std::string& text) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {false, file.errorString().toStdString()};
    const QByteArray data = file.readAll();
    if (file.error() != QFile::NoError) return {false, file.errorString().toStdString()};
    text = fromSystemBytes(data.toStdString());
    return {};
}

}  // namespace travenor
