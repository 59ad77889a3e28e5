#include "sim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "sim/CommandReader.h"

namespace travenor::sim {

namespace {

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

const char* commandKind(std::int32_t value) {
    if (value == LIVE_READING_COMMAND) return "live request";
    if (value == RECORD_COUNT_COMMAND) return "count request";
    if (value > PROBE_COMMAND_BASE) return "probe";
    return "record request";
}

const char* replyKind(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < ReplyFrame::SIZE) return "?";
    ReplyFrame frame = ReplyFrame::fromBytes(std::span(bytes).last(ReplyFrame::SIZE));
    if (!frame.isValid()) return "bad checksum";
    switch (frame.kindValue()) {
        case 1:
            return "Record";
        case 2:
            return "Live";
        case 3:
            return "RecordCount";
        case 4:
            return "PortFound";
        case 5:
            return "RecordsEnd";
        default:
            return "other";
    }
}

struct Scheduled {
    double due;
    std::vector<std::uint8_t> bytes;
};

}  // namespace

PtyServer::PtyServer(InstrumentModel& model, std::string linkPath, std::FILE* log)
    : model(model), linkPath(std::move(linkPath)), log(log), started(monotonicSeconds()) {
    openLine();
}

namespace {

// What the symbolic link at path points to; empty when there is no link.
std::string linkTarget(const std::string& path) {
    std::string to(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), to.data(), to.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= to.size()) return {};
    to.resize(static_cast<std::size_t>(length));
    return to;
}

// Why the link may not be made at path: only nothing, or a link to a
// pseudo-terminal (ours from an earlier run), may be replaced there.
std::string linkRefusal(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::string() : path + ": " + std::strerror(errno);
    if (!S_ISLNK(info.st_mode))
        return path + " exists and is not a link; give --link a path that is free";
    const std::string to = linkTarget(path);
    if (to.rfind("/dev/pts/", 0) != 0)
        return path + " links to " + (to.empty() ? std::string("nothing readable") : to) +
               ", not to a pseudo-terminal; give --link a path that is free";
    return {};
}

}  // namespace

PtyServer::~PtyServer() {
    closeLine();
    // Only the link made here goes, not whatever took its place since.
    if (!linkPath.empty() && linkTarget(linkPath) == device) ::unlink(linkPath.c_str());
}

double PtyServer::now() const {
    return monotonicSeconds() - started;
}

void PtyServer::openLine() {
    if (!linkPath.empty())
        if (const std::string refusal = linkRefusal(linkPath); !refusal.empty())
            throw std::runtime_error(refusal);
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error(std::string("no pseudo-terminal: ") + std::strerror(errno));
    const char* name = ::ptsname(master);
    if (name == nullptr) throw std::runtime_error("no pseudo-terminal name");
    device = name;
    handToSudoUser(device, false);
    // Hold the far end open in raw mode, so the line stays raw and up while
    // the program closes and reopens its port.
    slave = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios raw{};
        if (::tcgetattr(slave, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::cfsetispeed(&raw, B38400);
            ::cfsetospeed(&raw, B38400);
            ::tcsetattr(slave, TCSANOW, &raw);
        }
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    if (!linkPath.empty()) {
        ::unlink(linkPath.c_str());
        if (::symlink(device.c_str(), linkPath.c_str()) != 0)
            throw std::runtime_error("cannot make link " + linkPath + ": " + std::strerror(errno));
        handToSudoUser(linkPath, true);
    }
}

void PtyServer::handToSudoUser(const std::string& path, bool link) {
    // Run through sudo, the device belongs to the user who ran sudo, so the
    // program started by that user may open it.
    const char* uid = std::getenv("SUDO_UID");
    const char* gid = std::getenv("SUDO_GID");
    if (::geteuid() != 0 || uid == nullptr || gid == nullptr) return;
    char* end = nullptr;
    const unsigned long user = std::strtoul(uid, &end, 10);
    if (*uid == '\0' || *end != '\0') return;
    const unsigned long group = std::strtoul(gid, &end, 10);
    if (*gid == '\0' || *end != '\0') return;
    if (link) {
        [[maybe_unused]] const int done =
            ::lchown(path.c_str(), static_cast<uid_t>(user), static_cast<gid_t>(group));
    } else {
        [[maybe_unused]] const int done =
            ::chown(path.c_str(), static_cast<uid_t>(user), static_cast<gid_t>(group));
        ::chmod(path.c_str(), 0660);
    }
}

void PtyServer::closeLine() {
    if (slave >= 0) ::close(slave);
    if (master >= 0) ::close(master);
    slave = master = -1;
}

void PtyServer::logFrame(const char* direction, const std::uint8_t* bytes, std::size_t size,
                         const char* kind) {
    if (log == nullptr) return;
    std::fprintf(log, "%10.4f %s", now(), direction);
    for (std::size_t i = 0; i < size; ++i) std::fprintf(log, " %02X", bytes[i]);
    std::fprintf(log, "  %s\n", kind);
    std::fflush(log);
}

void PtyServer::run(const std::atomic<bool>& stop) {
    CommandReader incoming;
    std::vector<Scheduled> outgoing;
    while (!stop) {
        if (model.hungUp(now())) {
            // Hang up: the program's side sees the line go, then a new line
            // (same link, new device) is offered.
            closeLine();
            incoming.clear();
            outgoing.clear();
            if (log != nullptr) std::fprintf(log, "%10.4f hung up\n", now());
            while (!stop && model.hungUp(now()))
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (stop) break;
            openLine();
            std::printf("%s\n", device.c_str());
            std::fflush(stdout);
            continue;
        }

        // Wake exactly when the next reply is due: the line's 6.25 ms is
        // only honoured if the wait is finer than a millisecond.
        // Sleeping is coarse here (wake-ups come a few hundred microseconds
        // late), so the last stretch before a due reply is spent polling.
        constexpr double SPIN = 0.0004;
        double wait = 0.05;
        const double t = now();
        for (const Scheduled& s : outgoing) wait = std::min(wait, std::max(0.0, s.due - t - SPIN));
        const timespec timeout{static_cast<time_t>(wait),
                               static_cast<long>((wait - std::floor(wait)) * 1e9)};
        pollfd fd{master, POLLIN, 0};
        const int ready = ::ppoll(&fd, 1, &timeout, nullptr);
        if (ready > 0 && (fd.revents & POLLIN) != 0) {
            std::uint8_t buffer[256];
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) incoming.append(buffer, static_cast<std::size_t>(got));
        }

        while (const auto command = incoming.next()) {
            logFrame("in ", command->bytes.data(), CommandFrame::SIZE,
                     commandKind(command->value()));
            const double at = now();
            if (auto reply = model.respond(*command, at)) {
                outgoing.push_back({at + reply->delayMs / 1000.0, std::move(reply->bytes)});
            } else {
                logFrame("-- ", command->bytes.data(), 0, "no reply");
            }
        }

        double sendTime = now();
        for (const Scheduled& s : outgoing) {
            if (s.due > sendTime && s.due - sendTime <= SPIN) {
                while (now() < s.due) {
                }
                sendTime = now();
            }
        }
        for (auto it = outgoing.begin(); it != outgoing.end();) {
            if (it->due > sendTime) {
                ++it;
                continue;
            }
            logFrame("out", it->bytes.data(), it->bytes.size(), replyKind(it->bytes));
            std::size_t done = 0;
            while (done < it->bytes.size()) {
                const ssize_t n = ::write(master, it->bytes.data() + done, it->bytes.size() - done);
                if (n <= 0) break;
                done += static_cast<std::size_t>(n);
            }
            it = outgoing.erase(it);
        }
    }
}

}  // namespace travenor::sim
