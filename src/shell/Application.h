#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "shell/Command.h"
#include "shell/PortNotices.h"
#include "shell/PrintRangeDialog.h"

namespace travenor {

class Core;
class Download;
class FileDialogs;
class FileSystem;
class LinkSupervisor;
class LivePresenter;
class MainWindow;
class MessageBox;
class Printer;
class Printing;
class ProgramTimers;
class RecordFiles;
class RecordStore;
class RecordTable;
class ReplyDecoder;
class SerialLink;
class SerialPort;
class StatusRefresh;
class WindowViews;

struct ApplicationOptions {
    // Where the table's scratch file goes: the program's own folder.
    std::string programFolder;
    // Replaces the message box (tests); the window's own box when empty.
    std::shared_ptr<MessageBox> messages;
    // What "let pending events run once" does; the event loop's when empty.
    std::function<void()> processPendingEvents;
    // The file dialogs, the printer and the end of the program; Qt's own
    // dialogs and printing, and the end of the event loop, when empty.
    std::shared_ptr<FileDialogs> fileDialogs;
    std::shared_ptr<Printer> printer;
    std::function<void()> exitProgram;
};

// The composition root: makes the window, its views and the components, and
// wires the program's timers, the port's notification and the commands to
// them.
class Application : public QObject {
    Q_OBJECT
  public:
    Application(std::unique_ptr<SerialPort> port, ApplicationOptions options);
    ~Application() override;

    // Loads the window, shows it centred and starts its timers.
    void start();
    // Loads the window without showing it or starting timers (ticks by hand).
    void load();

    MainWindow& window() { return *mainWindow; }
    WindowViews& views() { return *windowViews; }
    ProgramTimers& timers() { return *programTimers; }
    SerialPort& port() { return *serialPort; }
    Core& core() { return *programCore; }
    SerialLink& link();
    LinkSupervisor& supervisor();
    ReplyDecoder& decoder();
    RecordStore& store();
    RecordTable& table();
    Download& download();
    StatusRefresh& status();
    RecordFiles& recordFiles() { return *files; }
    Printing& printing();
    // Form2 while it is open.
    PrintRangeDialog* printRangeDialog() const { return printDialog; }

    // Runs one command, as the buttons and menus do.
    void runCommand(Command command);
    // The toolbar's route: nothing while a download runs, keys compared
    // exactly, and whatever the command fails with ends here.
    void routeToolbarButton(const QString& key);

    // Print: disables the main window and shows a fresh Form2.
    void showPrintDialog();
    void exitProgram();

  private:
    void wireTimers();
    void printRangeOk();
    void printRangeCancelled();
    void closePrintDialog();
    std::string presetFileName() const;

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<WindowViews> windowViews;
    std::unique_ptr<ProgramTimers> programTimers;
    std::unique_ptr<SerialPort> serialPort;
    std::unique_ptr<FileSystem> fileSystem;
    std::shared_ptr<MessageBox> messages;
    std::shared_ptr<FileDialogs> fileDialogs;
    std::shared_ptr<Printer> printer;
    std::function<void()> endProgram;
    std::string programFolder;
    bool messagesInjected = false;
    std::unique_ptr<Core> programCore;
    PortNotices portNotices;
    std::unique_ptr<RecordFiles> files;
    QPointer<PrintRangeDialog> printDialog;
    std::shared_ptr<MessageBox> printDialogMessages;
};

// Where a window of this frame goes: centred in the screen's usable area,
// its top-left corner never outside it.
QPoint placeOnScreen(const QRect& frame, const QRect& available);

}  // namespace travenor
