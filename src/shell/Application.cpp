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

#include "platform/QtFileDialogs.h"
#include "platform/QtFileSystem.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/SerialPort.h"
#include "platform/TimeOfDay.h"
#include "records/RecordFiles.h"
#include "shell/Core.h"
#include "shell/MainWindow.h"
#include "shell/PrintRangeDialog.h"
#include "shell/ProgramTimers.h"
#include "shell/WindowFonts.h"
#include "shell/WindowViews.h"

namespace travenor {

Application::Application(std::unique_ptr<SerialPort> port, ApplicationOptions options)
    : mainWindow(std::make_unique<MainWindow>()),
      windowViews(std::make_unique<WindowViews>(*mainWindow)),
      programTimers(std::make_unique<ProgramTimers>()),
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
      messagesInjected(options.messages != nullptr) {
    WindowViews& views = *windowViews;
    std::function<void()> pending = options.processPendingEvents;
    if (!pending) pending = [] { QCoreApplication::processEvents(); };
    programCore = std::make_unique<Core>(CoreParts{
        *serialPort, views, views, views, views, views, *programTimers, *fileSystem, *messages,
        *printer, options.programFolder, std::move(pending), [] { return timeOfDayText(); }});
    files = std::make_unique<RecordFiles>(programCore->table, views, *fileDialogs, *fileSystem,
                                          *messages, [this] { return presetFileName(); });

    windowViews->tellPortDevices([this](int number) {
        const std::string refusal = serialPort->refusalOf(number);
        return serialPort->deviceName(number) + (refusal.empty() ? "" : "\n" + refusal);
    });
    // A device that will not open is told without blocking, in the port
    // box's tooltip and the status bar; a box interrupts at most once a run,
    // for a USB adapter or the port the user typed, and the scan goes on.
    serialPort->setRefusalHandler([this](int number, const std::string& notice) {
        mainWindow->showPortRefusal(notice);
        if (portNotices.boxFor(serialPort->deviceName(number),
                               mainWindow->portTypedByUser() == number))
            messages->show(notice, "Serial port");
    });
    connect(mainWindow.get(), &MainWindow::commandRequested, this, &Application::runCommand);
    connect(mainWindow.get(), &MainWindow::toolbarKeyClicked, this,
            &Application::routeToolbarButton);
    wireTimers();
}

Application::~Application() {
    delete printDialog.data();
    programTimers->setLive(false);
}

SerialLink& Application::link() {
    return programCore->link;
}
LinkSupervisor& Application::supervisor() {
    return programCore->supervisor;
}
ReplyDecoder& Application::decoder() {
    return programCore->decoder;
}
RecordStore& Application::store() {
    return programCore->store;
}
RecordTable& Application::table() {
    return programCore->table;
}
Download& Application::download() {
    return programCore->download;
}
StatusRefresh& Application::status() {
    return programCore->status;
}
Printing& Application::printing() {
    return programCore->printing;
}

void Application::wireTimers() {
    for (const TickPlan& t : TICKS)
        connect(programTimers->timer(t.tick), &QTimer::timeout, this,
                [this, tick = t.tick] { programCore->tick(tick); });
}

void Application::load() {
    programCore->status.loadMainWindow();
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
        if (const QScreen* screen = mainWindow->screen()) {
            mainWindow->fitInto(screen->availableGeometry());
            mainWindow->move(
                placeOnScreen(mainWindow->frameGeometry(), screen->availableGeometry()));
        }
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
            programCore->download.startDownload();
            break;
        case Command::Save:
            files->saveTable();
            break;
        case Command::Clear:
            programCore->table.clearRecords();
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
    if (programCore->download.isDownloading()) return;
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
    const auto rejected = programCore->printing.acceptRange(printDialog->printAll(),
                                                            printDialog->firstText().toStdString(),
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
    programCore->printing.cancelRange();
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
