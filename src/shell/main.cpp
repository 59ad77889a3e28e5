#include <QApplication>
#include <memory>

#include "platform/QtSerialPort.h"
#include "platform/SystemPortDirectory.h"
#include "shell/Application.h"
#include "shell/ProcessSetup.h"

int main(int argc, char* argv[]) {
    travenor::prepareProcess();
    if (const auto ended = travenor::startFromCommandLine(
            argc, argv, "travenor",
            "Companion program of the three-phase current-transformer ratio test set: finds the "
            "instrument on serial ports 1 to 16, shows its live readings, downloads, saves, opens "
            "and prints its records."))
        return *ended;
    QApplication qt(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(travenor::APPLICATION_ID));
    travenor::quitOnTerminationSignals();
    travenor::ApplicationOptions options;
    options.programFolder = travenor::programFolder();
    travenor::Application app(
        std::make_unique<travenor::QtSerialPort>(std::make_unique<travenor::SystemPortDirectory>()),
        std::move(options));
    app.start();
    return QApplication::exec();
}
