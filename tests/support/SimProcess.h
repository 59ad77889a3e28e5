#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/Wait.h"

namespace travenor::test {

// travenor-sim running beside the test, reached through a link in a
// temporary folder.
class SimProcess {
  public:
    explicit SimProcess(QStringList options) {
        link = folder.filePath(QStringLiteral("ttySIM"));
        options << QStringLiteral("--link") << link;
        process.setProgram(QStringLiteral(TRAVENOR_SIM_PATH));
        process.setArguments(options);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        started =
            process.waitForStarted(5000) &&
            waitFor([this] { return QFileInfo(link).isSymLink() && QFileInfo(link).exists(); },
                    5000);
    }
    ~SimProcess() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000)) process.kill();
        }
    }

    bool started = false;
    std::string path() const { return link.toStdString(); }
    QProcess& proc() { return process; }

  private:
    QTemporaryDir folder;
    QString link;
    QProcess process;
};

}  // namespace travenor::test
