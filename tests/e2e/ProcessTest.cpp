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

// Asked to stop (SIGTERM, SIGINT, SIGHUP), the program ends as Exit does: a
// normal exit, its port closed and its lock released.
TEST(Process, TerminationSignalsEndTheProgramNormally) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QProcess demo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        demo.setProcessEnvironment(env);
        demo.start(QStringLiteral(TRAVENOR_DEMO_PATH), {});
        ASSERT_TRUE(demo.waitForStarted(5000));
        test::runFor(1500);
        ::kill(static_cast<pid_t>(demo.processId()), signal);
        ASSERT_TRUE(demo.waitForFinished(5000)) << signal;
        EXPECT_EQ(demo.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(demo.exitCode(), 0) << signal;
    }
}

// --help, --version and an unknown option, for every program; and no display.
TEST(Process, EveryProgramAnswersItsCommandLine) {
    const struct {
        const char* program;
        const char* name;
    } programs[] = {{TRAVENOR_PATH, "travenor"},
                    {TRAVENOR_DEMO_PATH, "travenor-demo"},
                    {TRAVENOR_SIM_PATH, "travenor-sim"}};
    const struct {
        const char* argument;
        int exitCode;
        const char* out;  // on standard output
        const char* err;  // on standard error
    } cases[] = {
        {"--help", 0, "sage: ", ""},
        {"--version", 0, " 0.1\n", ""},
        {"--bogus", 2, "", "bogus"},
    };
    QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
    headless.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const auto& p : programs) {
        for (const auto& c : cases) {
            QProcess run;
            run.setProcessEnvironment(headless);
            run.start(QString::fromLatin1(p.program), {QString::fromLatin1(c.argument)});
            ASSERT_TRUE(run.waitForFinished(10000)) << p.name << " " << c.argument;
            const QString out = QString::fromLocal8Bit(run.readAllStandardOutput());
            const QString err = QString::fromLocal8Bit(run.readAllStandardError());
            EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << p.name << " " << c.argument;
            EXPECT_EQ(run.exitCode(), c.exitCode) << p.name << " " << c.argument;
            EXPECT_TRUE(out.contains(QString::fromLatin1(c.out)))
                << p.name << " " << c.argument << ": " << out.toStdString();
            EXPECT_TRUE(err.contains(QString::fromLatin1(c.err)))
                << p.name << " " << c.argument << ": " << err.toStdString();
        }
    }

    // The window programs without any display: one line, exit 1, no abort.
    QProcessEnvironment none = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        none.remove(QString::fromLatin1(variable));
    for (const char* program : {TRAVENOR_PATH, TRAVENOR_DEMO_PATH}) {
        QProcess run;
        run.setProcessEnvironment(none);
        run.start(QString::fromLatin1(program), {});
        ASSERT_TRUE(run.waitForFinished(10000)) << program;
        const QString err = QString::fromLocal8Bit(run.readAllStandardError());
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << program;
        EXPECT_EQ(run.exitCode(), 1) << program;
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("no display"))) << err.toStdString();
    }
}

}  // namespace
}  // namespace travenor
