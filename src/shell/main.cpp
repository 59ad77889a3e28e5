#include <QApplication>
#include <memory>

#include "platform/QtSerialPort.h"
#include "platform/SystemPortDirectory.h"
#include "shell/Application.h"
#include "shell/ProcessSetup.h"

int main(int argc, char* argv[]) {
    travenor::prepareProcess();
    QApplication qt(argc, argv);
    travenor::ApplicationOptions options;
    options.programFolder = travenor::programFolder();
    travenor::Application app(
        std::make_unique<travenor::QtSerialPort>(std::make_unique<travenor::SystemPortDirectory>()),
        std::move(options));
    app.start();
    return QApplication::exec();
}
