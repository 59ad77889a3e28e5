#include "shell/Application.h"

#include <QCoreApplication>
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
#include <algorithm>

#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/SerialPort.h"
#include "platform/TimeOfDay.h"
#include "records/Download.h"
#include "records/Printing.h"
#include "records/RecordFiles.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/LivePresenter.h"
#include "shell/MainWindow.h"
#include "shell/PrintRangeDialog.h"
#include "shell/ProgramTimers.h"
#include "shell/StatusRefresh.h"
#include "shell/WindowFonts.h"
#include "shell/WindowViews.h"

namespace travenor {

Application::Application(std::unique_ptr<SerialPort> port, ApplicationOptions options)
    : mainWindow(std::make_unique<MainWindow>()),
      windowViews(std::make_unique<WindowViews>(*mainWindow)),
      programTimers(std::make_unique<ProgramTimers>()),
      livePresenter(std::make_unique<LivePresenter>(*windowViews)),
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
    WindowViews& views = *windowViews;
    serialLink = std::make_unique<SerialLink>(*serialPort, views);
    recordTable =
        std::make_unique<RecordTable>(*recordStore, views, *fileSystem, options.programFolder);
    std::function<void()> pending = options.processPendingEvents;
    if (!pending) pending = [] { QCoreApplication::processEvents(); };
    recordDownload = std::make_unique<Download>(*serialLink, *recordStore, *recordTable, views,
                                                *messages, std::move(pending));
    linkSupervisor = std::make_unique<LinkSupervisor>(
        *serialLink, views, [this] { return recordDownload->isDownloading(); });
    replyDecoder = std::make_unique<ReplyDecoder>(*serialLink, *linkSupervisor, views,
                                                  *livePresenter, *recordDownload);
    statusRefresh = std::make_unique<StatusRefresh>(
        StatusRefresh::Parts{views, *programTimers, views, *livePresenter, views, *serialLink,
                             *linkSupervisor, *recordDownload, *recordTable},
        [] { return timeOfDayText(); });
    files = std::make_unique<RecordFiles>(views, *fileDialogs, *fileSystem, *messages,
                                          [this] { return presetFileName(); });
    printRequest = std::make_unique<Printing>(*recordTable, views, *printer, *messages);

    serialPort->setReceiveHandler([this] { replyDecoder->receive(); });
    windowViews->tellPortDevices([this](int number) {
        const std::string refusal = serialPort->refusalOf(number);
        return serialPort->deviceName(number) + (refusal.empty() ? "" : "\n" + refusal);
    });
    // A device that will not open is told once; the box waits its turn and
    // the scan goes on under it.
    serialPort->setRefusalHandler(
        [this](const std::string& notice) { messages->show(notice, "Serial port"); });
    connect(mainWindow.get(), &MainWindow::commandRequested, this, &Application::runCommand);
    connect(mainWindow.get(), &MainWindow::toolbarKeyClicked, this,
            &Application::routeToolbarButton);
    wireTimers();
}

Application::~Application() {
    delete printDialog.data();
    serialPort->setReceiveHandler(nullptr);
    programTimers->setLive(false);
}

void Application::wireTimers() {
    const ProgramTimers& t = *programTimers;
    connect(t.timer(Tick::Status), &QTimer::timeout, this,
            [this] { statusRefresh->refreshStatus(); });
    connect(t.timer(Tick::Discovery), &QTimer::timeout, this,
            [this] { linkSupervisor->discoveryTick(); });
    connect(t.timer(Tick::Poll), &QTimer::timeout, this, [this] { linkSupervisor->pollTick(); });
    connect(t.timer(Tick::Download), &QTimer::timeout, this,
            [this] { recordDownload->downloadTick(); });
    connect(t.timer(Tick::PrintRequest), &QTimer::timeout, this,
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
    const int x =
        frame.width() >= available.width()
            ? available.left()
            : std::clamp(placed.left(), available.left(), available.right() + 1 - frame.width());
    const int y =
        frame.height() >= available.height()
            ? available.top()
            : std::clamp(placed.top(), available.top(), available.bottom() + 1 - frame.height());
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
    programTimers->setLive(true);
}

void Application::runCommand(Command command) {
    switch (command) {
        case Command::Open:
            files->openTable();
            break;
        case Command::Read:
            recordDownload->startDownload();
            break;
        case Command::Save:
            files->saveTable();
            break;
        case Command::Clear:
            recordTable->clearRecords();
            break;
        case Command::Print:
            showPrintDialog();
            break;
        case Command::Exit:
            exitProgram();
            break;
    }
}

void Application::routeToolbarButton(const QString& key) {
    if (recordDownload->isDownloading()) return;
    const auto command = commandForKey(key.toStdString());
    if (!command) return;
    // Whatever a command started from the toolbar fails with ends here,
    // quietly; the program goes on.
    try {
        runCommand(*command);
    } catch (const std::exception&) {
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
