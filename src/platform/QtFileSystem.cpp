#include "platform/QtFileSystem.h"

#include <QFile>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif
#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/SafeFile.h"

namespace travenor {

#ifdef _WIN32

std::optional<std::string> QtFileSystem::passThroughScratch(const std::string& path,
                                                            const std::string& bytes) {
    const QString name = QString::fromStdString(path);
    if (QFile::exists(name) && !QFile::remove(name)) return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::NewOnly | QIODevice::WriteOnly)) return std::nullopt;
    const bool written = file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                         static_cast<qint64>(bytes.size());
    file.close();
    std::optional<std::string> back;
    if (written && file.open(QIODevice::ReadOnly)) {
        back = file.read(static_cast<qint64>(bytes.size())).toStdString();
        file.close();
    }
    QFile::remove(name);
    return back;
}

#else

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes what is at path only when it is a plain file of this user with no
// other name: a link, a pipe, a folder or another user's file stays.
void removeOwnLeftover(const std::string& path) {
    struct stat found {};
    if (::lstat(path.c_str(), &found) != 0) return;
    if (S_ISREG(found.st_mode) && found.st_uid == ::geteuid() && found.st_nlink == 1)
        ::unlink(path.c_str());
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads back the file made, and no more than was written to it.
std::optional<std::string> readBack(const std::string& path, const struct stat& made,
                                    std::size_t size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat opened {};
    std::optional<std::string> result;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && sameFile(opened, made) &&
        static_cast<std::size_t>(opened.st_size) == size) {
        std::string text(size, '\0');
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, text.data() + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        if (done == size) result = std::move(text);
    }
    ::close(fd);
    return result;
}

}  // namespace

std::optional<std::string> QtFileSystem::passThroughScratch(const std::string& path,
                                                            const std::string& bytes) {
    removeOwnLeftover(path);
    // Exclusive: fails when anything at all is at the name, a link included.
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return std::nullopt;
    struct stat made {};
    const bool written = ::fstat(fd, &made) == 0 && S_ISREG(made.st_mode) && writeAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    std::optional<std::string> back;
    if (written && closed) back = readBack(path, made, bytes.size());
    // Only the file made here is removed, not one that took its name since.
    struct stat now {};
    if (::lstat(path.c_str(), &now) == 0 && sameFile(now, made)) ::unlink(path.c_str());
    return back;
}

#endif

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
    return replaceFile(path, toSystemBytes(text));
}

FileOutcome QtFileSystem::saveBytes(const std::string& path, const std::string& bytes) {
    return replaceFile(path, bytes);
}

FileOutcome QtFileSystem::loadText(const std::string& path, LoadedText& file) {
    std::string bytes;
    const FileOutcome read = readRegularFile(path, bytes);
    if (!read.ok) return read;
    file.text = fromSystemBytes(bytes);
    file.bytes = std::move(bytes);
    return {};
}

}  // namespace travenor
