#include "shell/Application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTime>
#include <QTimer>

#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMessageBox.h"
#include "platform/SerialPort.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/MainWindow.h"
#include "shell/StatusRefresh.h"

namespace travenor {

std::string timeOfDayText() {
    // The system's long time format, less any time-zone name.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    format = format.trimmed();
    if (!format.contains(QLatin1Char('s'))) format = QStringLiteral("HH:mm:ss");
    return QLocale::system().toString(QTime::currentTime(), format).toStdString();
}

Application::Application(std::unique_ptr<SerialPort> port, ApplicationOptions options)
    : mainWindow(std::make_unique<MainWindow>()),
      serialPort(std::move(port)),
      files(std::make_unique<QtFileSystem>()),
      messages(options.messages ? options.messages
                                : std::make_shared<QtMessageBox>(mainWindow.get())),
      recordStore(std::make_unique<RecordStore>()) {
    MainWindow& controls = *mainWindow;
    serialLink = std::make_unique<SerialLink>(*serialPort, controls);
    recordTable =
        std::make_unique<RecordTable>(*recordStore, controls, *files, options.programFolder);
    std::function<void()> pending = options.processPendingEvents;
    if (!pending) pending = [] { QCoreApplication::processEvents(); };
    recordDownload = std::make_unique<Download>(*serialLink, *recordStore, *recordTable, controls,
                                                *messages, std::move(pending));
    linkSupervisor = std::make_unique<LinkSupervisor>(
        *serialLink, controls, [this] { return recordDownload->downloading == 1; });
    replyDecoder =
        std::make_unique<ReplyDecoder>(*serialLink, *linkSupervisor, controls, *recordDownload);
    statusRefresh = std::make_unique<StatusRefresh>(controls, *serialLink, *linkSupervisor,
                                                    *recordDownload, *recordTable, timeOfDayText);

    serialPort->setReceiveHandler([this] { replyDecoder->receive(); });
    mainWindow->setDeviceNames([this](int number) { return serialPort->deviceName(number); });
    connect(mainWindow.get(), &MainWindow::commandRequested, this, &Application::commandRequested);
    wireTimers();
}

Application::~Application() {
    serialPort->setReceiveHandler(nullptr);
    mainWindow->setTimersLive(false);
}

void Application::wireTimers() {
    MainWindow& w = *mainWindow;
    connect(w.timer("Timer1"), &QTimer::timeout, this, [this] { statusRefresh->refreshStatus(); });
    connect(w.timer("Timer2"), &QTimer::timeout, this, [this] { linkSupervisor->discoveryTick(); });
    connect(w.timer("Timer3"), &QTimer::timeout, this, [this] { linkSupervisor->pollTick(); });
    connect(w.timer("Timer4"), &QTimer::timeout, this, [this] { recordDownload->downloadTick(); });
}

void Application::load() {
    statusRefresh->loadMainWindow();
}

void Application::start() {
    load();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = mainWindow->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        mainWindow->move(frame.topLeft());
    }
    mainWindow->show();
    mainWindow->setTimersLive(true);
}

void Application::runCommand(const QString& key) {
    if (key == QLatin1String("Read")) {
        recordDownload->startDownload();
    } else if (key == QLatin1String("Clear")) {
        recordTable->clearRecords();
    } else if (key == QLatin1String("Exit")) {
        QCoreApplication::exit(0);
    }
    // Open, Save and Print arrive with the file and printing commands.
}

void Application::commandRequested(const QString& key, bool fromToolbar) {
    // The toolbar takes no command while a download runs.
    if (fromToolbar && recordDownload->downloading == 1) return;
    runCommand(key);
}

}  // namespace travenor
