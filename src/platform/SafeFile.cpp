#include "platform/SafeFile.h"

#ifdef _WIN32
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#endif

namespace travenor {

namespace {

std::string tooLarge(std::size_t limit) {
    constexpr std::size_t MB = 1024u * 1024u;
    const std::string size = limit >= MB && limit % MB == 0 ? std::to_string(limit / MB) + " MB"
                                                            : std::to_string(limit) + " bytes";
    return "It is larger than " + size + ", the most this program reads.";
}

const char* const FOLDER = "It is a folder, not a file.";
const char* const NOT_REGULAR = "It is not a regular file.";

}  // namespace

#ifdef _WIN32

FileOutcome readRegularFile(const std::string& path, std::string& bytes, std::size_t limit) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) return {false, "No such file or directory"};
    if (info.isDir()) return {false, FOLDER};
    if (!info.isFile()) return {false, NOT_REGULAR};
    if (static_cast<unsigned long long>(info.size()) > limit) return {false, tooLarge(limit)};
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return {false, file.errorString().toStdString()};
    std::string data;
    while (true) {
        const QByteArray chunk = file.read(64 * 1024);
        if (file.error() != QFileDevice::NoError) return {false, file.errorString().toStdString()};
        if (chunk.isEmpty()) break;
        if (data.size() + static_cast<std::size_t>(chunk.size()) > limit)
            return {false, tooLarge(limit)};
        data.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    }
    bytes = std::move(data);
    return {};
}

FileOutcome checkReplaceable(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir()) return {false, FOLDER};
    if (info.exists() && !info.isFile()) return {false, NOT_REGULAR};
    return {};
}

FileOutcome replaceFile(const std::string& path, const std::string& bytes) {
    if (const FileOutcome checked = checkReplaceable(path); !checked.ok) return checked;
    // The new bytes go to a temporary file beside the old one, which they
    // replace only when written whole; the direct-write fallback stays off so
    // a failure never truncates the old file in place.
    QSaveFile file(QString::fromStdString(path));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString().toStdString()};
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit()) return {false, file.errorString().toStdString()};
    return {};
}

#else

namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// Why something that is not a regular file is neither read nor replaced.
std::string kindRefusal(mode_t mode) {
    if (S_ISDIR(mode)) return FOLDER;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "It is a device, not a file.";
    if (S_ISFIFO(mode)) return "It is a pipe, not a file.";
    if (S_ISSOCK(mode)) return "It is a socket, not a file.";
    return NOT_REGULAR;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a write to `path` lands: the path itself, or the end of the links it
// starts with. `info` is filled when a regular file is there.
struct Target {
    std::string path;
    bool exists = false;
    struct stat info {};
};

FileOutcome resolveTarget(const std::string& path, Target& target) {
    std::string at = path;
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat info {};
        if (::lstat(at.c_str(), &info) != 0) {
            if (errno != ENOENT) return {false, systemReason(errno)};
            target.path = at;
            target.exists = false;
            return {};
        }
        if (S_ISLNK(info.st_mode)) {
            // A link planted by somebody else must not steer our write.
            if (info.st_uid != ::geteuid() && info.st_uid != 0)
                return {false, "It is a link that belongs to another user; it is not followed."};
            std::string to(4096, '\0');
            const ssize_t length = ::readlink(at.c_str(), to.data(), to.size());
            if (length < 0) return {false, systemReason(errno)};
            if (static_cast<std::size_t>(length) >= to.size())
                return {false, systemReason(ENAMETOOLONG)};
            to.resize(static_cast<std::size_t>(length));
            at = to.front() == '/' ? to : folderOf(at) + "/" + to;
            continue;
        }
        if (!S_ISREG(info.st_mode)) return {false, kindRefusal(info.st_mode)};
        target.path = at;
        target.exists = true;
        target.info = info;
        return {};
    }
    return {false, systemReason(ELOOP)};
}

// A new file beside `path` that nobody else can have made: O_EXCL fails on
// anything already there, a link included.
int makeTemporary(const std::string& path, std::string& name) {
    static std::atomic<unsigned> serial{0};
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        name = folder + "." + base + "." + std::to_string(::getpid()) + "-" +
               std::to_string(serial++) + "-" + std::to_string(stamp % 1000000) + ".part";
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Gives the new file the old one's owner, group and mode.
FileOutcome keepOwnership(int fd, const struct stat& old) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return {false, systemReason(errno)};
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return {false,
                "It belongs to another user or group, which a new file could not keep; it is "
                "left as it was."};
    if (::fchmod(fd, old.st_mode & 07777) != 0) return {false, systemReason(errno)};
    return {};
}

}  // namespace

FileOutcome readRegularFile(const std::string& path, std::string& bytes, std::size_t limit) {
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // opening a device may do something to it.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {false, systemReason(errno)};
    if (!S_ISREG(info.st_mode)) return {false, kindRefusal(info.st_mode)};
    if (static_cast<unsigned long long>(info.st_size) > limit) return {false, tooLarge(limit)};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return {false, systemReason(errno)};
    // What was opened may not be what was looked at.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::string reason =
            S_ISREG(info.st_mode) ? systemReason(errno) : kindRefusal(info.st_mode);
        ::close(fd);
        return {false, reason};
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[64 * 1024];
    FileOutcome outcome;
    while (true) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            outcome = {false, systemReason(errno)};
            break;
        }
        if (n == 0) break;
        if (data.size() + static_cast<std::size_t>(n) > limit) {
            outcome = {false, tooLarge(limit)};  // it grew while it was read
            break;
        }
        data.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (outcome.ok) bytes = std::move(data);
    return outcome;
}

FileOutcome checkReplaceable(const std::string& path) {
    Target target;
    return resolveTarget(path, target);
}

FileOutcome replaceFile(const std::string& path, const std::string& bytes) {
    Target target;
    if (const FileOutcome resolved = resolveTarget(path, target); !resolved.ok) return resolved;
    std::string temporary;
    const int fd = makeTemporary(target.path, temporary);
    if (fd < 0) return {false, systemReason(errno)};

    FileOutcome outcome;
    if (!writeAll(fd, bytes)) outcome = {false, systemReason(errno)};
    if (outcome.ok && target.exists) outcome = keepOwnership(fd, target.info);
    // Some file systems report a full disk only when the data reach it.
    if (outcome.ok && ::fsync(fd) != 0) outcome = {false, systemReason(errno)};
    if (::close(fd) != 0 && outcome.ok) outcome = {false, systemReason(errno)};
    if (outcome.ok && ::rename(temporary.c_str(), target.path.c_str()) != 0)
        outcome = {false, systemReason(errno)};
    if (!outcome.ok) {
        ::unlink(temporary.c_str());
        return outcome;
    }
    // The new name itself reaches the disk.
    const int folder = ::open(folderOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return outcome;
}

#endif

}  // namespace travenor
