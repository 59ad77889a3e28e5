#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

namespace travenor {

class Download;
class FileSystem;
class LinkSupervisor;
class MainWindow;
class MessageBox;
class RecordStore;
class RecordTable;
class ReplyDecoder;
class SerialLink;
class SerialPort;
class StatusRefresh;

struct ApplicationOptions {
    // Where the table's scratch file goes: the program's own folder.
    std::string programFolder;
    // Replaces the message box (tests); the window's own box when empty.
    std::shared_ptr<MessageBox> messages;
    // What "let pending events run once" does; the event loop's when empty.
    std::function<void()> processPendingEvents;
};

// The composition root: makes the window and the components, wires the
// timers, the port's notification and the commands to them.
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
    SerialPort& port() { return *serialPort; }
    SerialLink& link() { return *serialLink; }
    LinkSupervisor& supervisor() { return *linkSupervisor; }
    ReplyDecoder& decoder() { return *replyDecoder; }
    RecordStore& store() { return *recordStore; }
    RecordTable& table() { return *recordTable; }
    Download& download() { return *recordDownload; }
    StatusRefresh& status() { return *statusRefresh; }

    // Runs one command by its key, as the buttons and menus do.
    void runCommand(const QString& key);

  private:
    void commandRequested(const QString& key, bool fromToolbar);
    void wireTimers();

    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<SerialPort> serialPort;
    std::unique_ptr<FileSystem> files;
    std::shared_ptr<MessageBox> messages;
    std::unique_ptr<RecordStore> recordStore;
    std::unique_ptr<SerialLink> serialLink;
    std::unique_ptr<RecordTable> recordTable;
    std::unique_ptr<Download> recordDownload;
    std::unique_ptr<LinkSupervisor> linkSupervisor;
    std::unique_ptr<ReplyDecoder> replyDecoder;
    std::unique_ptr<StatusRefresh> statusRefresh;
};

// The time of day in the system's hours-minutes-seconds form.
std::string timeOfDayText();

}  // namespace travenor
