#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>

#include "support/Wait.h"

namespace travenor {
namespace {

// An environment in which Qt warns at start: no runtime folder.
QProcessEnvironment warningEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString());
    return env;
}

// Standard error on a pipe nobody reads any more: the program's first warning
// must not end it.
TEST(Process, AClosedStandardErrorDoesNotEndTheProgram) {
    const char* program = TRAVENOR_DEMO_PATH;
    {
        // The program does warn in this environment.
        QProcess check;
        check.setProcessEnvironment(warningEnvironment());
        check.start(QString::fromLatin1(program), {});
        ASSERT_TRUE(check.waitForStarted(5000));
        ASSERT_TRUE(test::waitFor([&] { return !check.readAllStandardError().isEmpty(); }, 3000))
            << "no warning to test with";
        check.kill();
        check.waitForFinished(3000);
    }

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    ::close(channel[0]);
    const QStringList env = warningEnvironment().toStringList();
    std::vector<std::string> envText;
    for (const QString& entry : env) envText.push_back(entry.toStdString());
    std::vector<char*> envp;
    for (std::string& entry : envText) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(channel[1], 2);
        ::signal(SIGPIPE, SIG_DFL);
        char* argv[] = {const_cast<char*>(program), nullptr};
        ::execve(program, argv, envp.data());
        ::_exit(127);
    }
    ::close(channel[1]);
    test::runFor(2500);
    int status = 0;
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    EXPECT_EQ(ended, 0) << (WIFSIGNALED(status) ? "ended by signal " : "exited ")
                        << (WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
}

}  // namespace
}  // namespace travenor
