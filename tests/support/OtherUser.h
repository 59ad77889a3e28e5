#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace travenor::test {

// Runs `work` in a child process, once `prepare` has made it what the test
// needs (false: it could not), and hands back what the child said. Empty
// when the child could not run.
inline std::string inChildProcess(const std::function<bool()>& prepare,
                                  const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (!prepare()) ::_exit(3);
        const std::string said = work();
        [[maybe_unused]] const auto written = ::write(channel[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string said;
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        said.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return said;
}

// Runs `work` in a child process that has given up root (as "nobody");
// where the tests do not run as root the child stays this user.
inline std::string inUnprivilegedChild(const std::function<std::string()>& work) {
    return inChildProcess(
        [] {
            return ::geteuid() != 0 ||
                   (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
        },
        work);
}

// Runs a file operation as a user who has no rights to the test's own files:
// in this process when the tests run as a normal user, in a child process
// that has given up root when they run as root, who may write anywhere.
inline FileOutcome withoutPrivileges(const std::function<FileOutcome()>& work) {
    if (::geteuid() != 0) return work();
    const std::string message = inUnprivilegedChild([&] {
        const FileOutcome outcome = work();
        return std::string(outcome.ok ? "1" : "0") + outcome.reason;
    });
    if (message.empty()) return {true, "child said nothing"};
    return {message[0] == '1', message.substr(1)};
}

}  // namespace travenor::test
