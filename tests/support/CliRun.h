#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <functional>

namespace travenor {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
    double seconds = 0;
};

using ProcessStep = std::function<void(QProcess&)>;

// Runs travenor-cli; `before` may set the process up (where its standard
// output goes), `meanwhile` act on it while it runs (close that output, send
// a signal).
inline CliRun cli(const QStringList& args, const ProcessStep& meanwhile = {},
                  const ProcessStep& before = {}) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    if (before) before(process);
    process.start(QStringLiteral(TRAVENOR_CLI_PATH), args);
    if (meanwhile) meanwhile(process);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace travenor
