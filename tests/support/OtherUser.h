#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace travenor::test {

// Runs a file operation as a user who has no rights to the test's own files:
// in this process when the tests run as a normal user, in a child process
// that has given up root (as "nobody") when they run as root, who may write
// anywhere.
inline FileOutcome withoutPrivileges(const std::function<FileOutcome()>& work) {
    if (::geteuid() != 0) return work();
    int channel[2];
    if (::pipe(channel) != 0) return {true, "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        const FileOutcome outcome = dropped ? work() : FileOutcome{true, "still root"};
        const std::string message = std::string(outcome.ok ? "1" : "0") + outcome.reason;
        [[maybe_unused]] const auto written = ::write(channel[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string message;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (message.empty()) return {true, "child said nothing"};
    return {message[0] == '1', message.substr(1)};
}

}  // namespace travenor::test
