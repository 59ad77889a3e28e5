// travenor-demo: the real program with port 3 wired to a simulated instrument.
#include <QApplication>
#include <memory>

#include "shell/Application.h"
#include "shell/ProcessSetup.h"
#include "sim/SimPort.h"

int main(int argc, char* argv[]) {
    travenor::prepareProcess();
    if (const auto ended =
            travenor::startFromCommandLine(argc, argv, "travenor-demo",
                                           "The travenor program with port 3 wired to a simulated "
                                           "instrument holding 120 records."))
        return *ended;
    QApplication qt(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(travenor::APPLICATION_ID));
    travenor::quitOnTerminationSignals();
    travenor::sim::Config config;
    config.recordCount = 120;
    auto port = std::make_unique<travenor::sim::SimPort>(
        std::make_unique<travenor::sim::InstrumentModel>(config), 3);
    travenor::ApplicationOptions options;
    options.programFolder = travenor::programFolder();
    travenor::Application app(std::move(port), std::move(options));
    app.start();
    return QApplication::exec();
}
