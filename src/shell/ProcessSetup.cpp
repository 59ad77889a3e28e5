#include "shell/ProcessSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#endif
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace travenor {

void prepareProcess() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_IGN);
    // A file size limit makes a Save fail with a reason instead of ending the
    // program with the records unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

std::optional<int> startFromCommandLine(int argc, char* argv[], const char* name,
                                        const char* description) {
    QCoreApplication::setApplicationName(QString::fromLatin1(name));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRAVENOR_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Travenor"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("travenor.org"));

    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // The window toolkit's own options pass through to it.
    for (const char* toolkit : {"platform", "style", "display", "qwindowgeometry"}) {
        QCommandLineOption option(QString::fromLatin1(toolkit), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"), QString::fromLatin1(name));
    if (!parser.parse(args) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("unexpected argument '%1'")
                                        .arg(parser.positionalArguments().value(0))
                                  : parser.errorText();
        std::fprintf(stderr, "%s: %s\n\n%s", name, qPrintable(error), qPrintable(usage));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", name, TRAVENOR_VERSION);
        return 0;
    }
#if !defined(_WIN32) && !defined(__APPLE__)
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !parser.isSet(QStringLiteral("platform"))) {
        std::fprintf(stderr,
                     "%s: no display to show the window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set)\n",
                     name);
        return 1;
    }
#endif
    return std::nullopt;
}

#ifndef _WIN32
namespace {
int signalPipe[2] = {-1, -1};
void noteSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
}  // namespace
#endif

void quitOnTerminationSignals() {
#ifndef _WIN32
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier =
        new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
#endif
}

std::string programFolder() {
#ifdef __linux__
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path()) return program.parent_path().native();
#endif
    const QString folder = QCoreApplication::applicationDirPath();
    return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
}

}  // namespace travenor
