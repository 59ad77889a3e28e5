#include "shell/ProcessSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "platform/ProcessControl.h"

namespace travenor {

void prepareProcess() {
    ignoreWriteSignals();
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
    if (!hasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !parser.isSet(QStringLiteral("platform"))) {
        std::fprintf(stderr,
                     "%s: no display to show the window on (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set)\n",
                     name);
        return 1;
    }
    return std::nullopt;
}

void quitOnTerminationSignals() {
    onTerminationRequest([] { QCoreApplication::exit(0); });
}

}  // namespace travenor
