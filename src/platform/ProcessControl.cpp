#include "platform/ProcessControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <QDir>
#include <QFileInfo>
#include <iterator>
#else
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <filesystem>
#include <system_error>
#endif

namespace travenor {

namespace {
std::function<void()> terminationHandler;

void runHandler() {
    if (terminationHandler) terminationHandler();
}
}  // namespace

#ifdef _WIN32

namespace {
// Runs on a thread of the system's own; the handler runs on the event loop.
BOOL WINAPI consoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, runHandler, Qt::QueuedConnection);
    // A closing console ends the process once this returns: give the event
    // loop a moment to close the port.
    if (event == CTRL_CLOSE_EVENT) ::Sleep(500);
    return TRUE;
}
}  // namespace

void ignoreWriteSignals() {}

void onTerminationRequest(std::function<void()> requested) {
    terminationHandler = std::move(requested);
    ::SetConsoleCtrlHandler(consoleEvent, TRUE);
}

std::string programFolder() {
    // Asked of the system, so it is known before the application object is.
    wchar_t path[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (length == 0 || length >= std::size(path)) return {};
    const QString program = QDir::fromNativeSeparators(QString::fromWCharArray(path, int(length)));
    return QFileInfo(program).absolutePath().toStdString();
}

bool hasDisplay() {
    return true;
}

void binaryStandardOutput() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

bool standardErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

bool standardOutputClosed() {
    return false;
}

#else

namespace {
int signalPipe[2] = {-1, -1};
void noteSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}
}  // namespace

void ignoreWriteSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

void onTerminationRequest(std::function<void()> requested) {
    terminationHandler = std::move(requested);
    // A signal handler may only write a byte; the notifier turns it into a
    // call on the event loop.
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier =
        new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        runHandler();
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

std::string programFolder() {
#ifdef __linux__
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path()) return program.parent_path().native();
#endif
    const QString folder = QCoreApplication::applicationDirPath();
    return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
}

void binaryStandardOutput() {}

bool hasDisplay() {
#ifdef __APPLE__
    return true;
#else
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool standardOutputClosed() {
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISFIFO(info.st_mode)) return false;
    // The writing end of a pipe with no reader left polls as an error.
    pollfd out{STDOUT_FILENO, 0, 0};
    return ::poll(&out, 1, 0) == 1 && (out.revents & (POLLERR | POLLHUP)) != 0;
}

#endif

}  // namespace travenor
