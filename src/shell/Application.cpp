#include "shell/Application.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>
#include <QWindow>

#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/SerialPort.h"
#include "records/Download.h"
#include "records/Printing.h"
#include "records/RecordFiles.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/MainWindow.h"
#include "shell/PrintRangeDialog.h"
#include "shell/StatusRefresh.h"
#include "platform/TimeOfDay.h"
#include "shell/WindowFonts.h"

namespace travenor {

Application::Application(std::unique_ptr<SerialPort> port, ApplicationOptions options)
    : mainWindow(std::make_unique<MainWindow>()),
      serialPort(std::move(port)),
      fileSystem(std::make_unique<QtFileSystem>()),
      messages(options.messages ? options.messages
                                : std::make_shared<QtMessageBox>(mainWindow.get())),
      fileDialogs(options.fileDialogs ? options.fileDialogs
                                      : std::make_shared<QtFileDialogs>(mainWindow.get())),
      printer(options.printer ? options.printer
                              : std::make_shared<QtPrinter>(mainWindow.get(), tableFont())),
      endProgram(options.exitProgram ? options.exitProgram : [] { QCoreApplication::exit(0); }),
      programFolder(options.programFolder),
      messagesInjected(options.messages != nullptr),
      recordStore(std::make_unique<RecordStore>()) {
    MainWindow& controls = *mainWindow;
    serialLink = std::make_unique<SerialLink>(*serialPort, controls);
    recordTable =
        std::make_unique<RecordTable>(*recordStore, controls, *fileSystem, options.programFolder);
    std::function<void()> pending = options.processPendingEvents;
    if (!pending) pending = [] { QCoreApplication::processEvents(); };
    recordDownload = std::make_unique<Download>(*serialLink, *recordStore, *recordTable, controls,
                                                *messages, std::move(pending));
    linkSupervisor = std::make_unique<LinkSupervisor>(
        *serialLink, controls, [this] { return recordDownload->downloading == 1; });
    replyDecoder =
        std::make_unique<ReplyDecoder>(*serialLink, *linkSupervisor, controls, *recordDownload);
    statusRefresh =
        std::make_unique<StatusRefresh>(controls, *serialLink, *linkSupervisor, *recordDownload,
                                        *recordTable, [] { return timeOfDayText(); });
    files = std::make_unique<RecordFiles>(controls, *fileDialogs, *fileSystem, *messages,
                                          [this] { return presetFileName(); });
    printRequest = std::make_unique<Printing>(*recordTable, controls, *printer, *messages);

    serialPort->setReceiveHandler([this] { replyDecoder->receive(); });
    mainWindow->setDeviceNames([this](int number) {
        const std::string refusal = serialPort->refusalOf(number);
        return serialPort->deviceName(number) + (refusal.empty() ? "" : "\n" + refusal);
    });
    // A device that will not open is told once; the box waits its turn and
    // the scan goes on under it.
    serialPort->setRefusalHandler(
        [this](const std::string& notice) { messages->show(notice, "Serial port"); });
    connect(mainWindow.get(), &MainWindow::commandRequested, this, &Application::commandRequested);
    wireTimers();
}

Application::~Application() {
    delete printDialog.data();
    serialPort->setReceiveHandler(nullptr);
    mainWindow->setTimersLive(false);
}

void Application::wireTimers() {
    MainWindow& w = *mainWindow;
    connect(w.timer("Timer1"), &QTimer::timeout, this, [this] { statusRefresh->refreshStatus(); });
    connect(w.timer("Timer2"), &QTimer::timeout, this, [this] { linkSupervisor->discoveryTick(); });
    connect(w.timer("Timer3"), &QTimer::timeout, this, [this] { linkSupervisor->pollTick(); });
    connect(w.timer("Timer4"), &QTimer::timeout, this, [this] { recordDownload->downloadTick(); });
    connect(w.timer("Timer5"), &QTimer::timeout, this,
            [this] { printRequest->printRequestCheck(); });
}

void Application::load() {
    statusRefresh->loadMainWindow();
}

QPoint placeOnScreen(const QRect& frame, const QRect& available) {
    QRect placed = frame;
    placed.moveCenter(available.center());
    // Never above or left of the screen's usable area: the title bar and the
    // menu bar stay within reach even where the window is larger than it.
    const int x = frame.width() >= available.width()
                      ? available.left()
                      : std::clamp(placed.left(), available.left(),
                                   available.right() + 1 - frame.width());
    const int y = frame.height() >= available.height()
                      ? available.top()
                      : std::clamp(placed.top(), available.top(),
                                   available.bottom() + 1 - frame.height());
    return {x, y};
}

void Application::start() {
    load();
    // Placed once before showing, and again once the window manager has
    // given the window its frame.
    const auto place = [this] {
        if (const QScreen* screen = mainWindow->screen())
            mainWindow->move(
                placeOnScreen(mainWindow->frameGeometry(), screen->availableGeometry()));
    };
    place();
    mainWindow->show();
    QTimer::singleShot(0, mainWindow.get(), place);
    mainWindow->setTimersLive(true);
}

void Application::runCommand(const QString& key) {
    if (key == QLatin1String("Open")) {
        files->openTable();
    } else if (key == QLatin1String("Read")) {
        recordDownload->startDownload();
    } else if (key == QLatin1String("Save")) {
        files->saveTable();
    } else if (key == QLatin1String("Clear")) {
        recordTable->clearRecords();
    } else if (key == QLatin1String("Print")) {
        showPrintDialog();
    } else if (key == QLatin1String("Exit")) {
        exitProgram();
    }
}

void Application::routeToolbarButton(const QString& key) {
    if (recordDownload->downloading == 1) return;
    // Whatever a command started from the toolbar fails with ends here,
    // quietly; the program goes on.
    try {
        runCommand(key);
    } catch (const std::exception&) {
    }
}

void Application::commandRequested(const QString& key, bool fromToolbar) {
    if (fromToolbar) {
        routeToolbarButton(key);
    } else {
        runCommand(key);
    }
}

void Application::exitProgram() {
    // At once: no question, nothing saved.
    endProgram();
}

std::string Application::presetFileName() const {
    // The program's folder where it may be written, else the user's documents.
    QString folder = QFile::decodeName(QByteArray::fromStdString(programFolder));
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    return presetFilePath(folder.toStdString(), date.toStdString());
}

void Application::showPrintDialog() {
    if (printDialog) {
        printDialog->raise();
        printDialog->activateWindow();
        return;
    }
    mainWindow->setEnabled(false);
    printDialog = new PrintRangeDialog();
    printDialogMessages =
        messagesInjected ? messages : std::make_shared<QtMessageBox>(printDialog.data());
    connect(printDialog, &PrintRangeDialog::okClicked, this, &Application::printRangeOk);
    connect(printDialog, &PrintRangeDialog::cancelled, this, &Application::printRangeCancelled);
    // Kept above the main window, over its middle.
    printDialog->winId();
    if (QWindow* handle = printDialog->windowHandle())
        handle->setTransientParent(mainWindow->windowHandle());
    QRect place = printDialog->frameGeometry();
    place.moveCenter(mainWindow->frameGeometry().center());
    printDialog->move(place.topLeft());
    printDialog->show();
}

void Application::printRangeOk() {
    if (!printDialog) return;
    const auto rejected =
        printRequest->acceptRange(printDialog->printAll(), printDialog->firstText().toStdString(),
                                  printDialog->lastText().toStdString());
    if (rejected) {
        // The dialog stays open with its entries, to correct or cancel.
        printDialogMessages->show(*rejected, "Print");
        return;
    }
    mainWindow->setEnabled(true);
    closePrintDialog();
}

void Application::printRangeCancelled() {
    printRequest->cancelRange();
    mainWindow->setEnabled(true);
    closePrintDialog();
}

void Application::closePrintDialog() {
    if (!printDialog) return;
    PrintRangeDialog* dialog = printDialog;
    printDialog = nullptr;
    dialog->hide();
    dialog->deleteLater();
}

}  // namespace travenor
