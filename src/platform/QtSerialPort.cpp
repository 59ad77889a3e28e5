#include "platform/QtSerialPort.h"

#include <QMetaObject>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif
#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

#include "platform/Log.h"

namespace travenor {

namespace {

// Asks the driver to hand each byte on at once. A USB serial adapter with a
// latency timer (16 ms on the common chips) otherwise holds every short
// reply until the timer runs out; its driver maps this to a 1 ms timer. A
// device that has no such setting (a pseudo-terminal) refuses, and nothing
// else changes.
#ifdef __linux__
bool askLowLatency(int fd) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0) return false;
    if ((info.flags & ASYNC_LOW_LATENCY) != 0) return true;
    info.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &info) == 0;
}
#endif

}  // namespace

std::string refusalNotice(int number, const std::string& device) {
    const std::string port = "Port " + std::to_string(number) + " (" + device + ")";
#ifndef _WIN32
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        struct stat info {};
        const struct group* owner = nullptr;
        if (::stat(device.c_str(), &info) == 0) owner = ::getgrgid(info.st_gid);
        const bool groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
        // Joining the group that owns the device helps only where that group
        // may read and write it, and it is not the administrators' own.
        if (owner != nullptr && groupMayUse && std::string(owner->gr_name) != "root") {
            const std::string group = owner->gr_name;
            return port + " may not be opened by this account. Add the account to the group \"" +
                   group + "\" that owns the device (for example: sudo usermod -aG " + group +
                   " $USER), then log out and in again.";
        }
        return port +
               " may not be opened by this account, and no group gives access to it here. Ask "
               "the administrator for access (on most systems serial adapters belong to the "
               "group \"dialout\"), then log out and in again.";
    }
    return port + " is busy: another program holds it. Close that program to use the port here.";
#else
    // Windows opens a serial port for one program at a time and says
    // "access denied" both for a port in use and for one the account may not use.
    return port +
           " is in use by another program, or Windows denied this account access to it. Close "
           "the program that holds it to use the port here.";
#endif
}

QtSerialPort::QtSerialPort(std::unique_ptr<PortDirectory> directory, QObject* parent)
    : QObject(parent), directory(std::move(directory)) {
    // Queued, so a handler that opens a message box does not hold back the
    // next notifications while the box is up.
    connect(&port, &QSerialPort::readyRead, this, &QtSerialPort::bytesArrived,
            Qt::QueuedConnection);
    connect(&port, &QSerialPort::errorOccurred, this, &QtSerialPort::errorRaised);
}

bool QtSerialPort::open(int number, const LineSettings& settings) {
    if (port.isOpen()) port.close();
    // A number with no device fails without touching the serial layer: the
    // scan asks for a port every 20 ms.
    const std::string device = directory->deviceFor(number);
    if (device.empty()) return false;
    ++generation;
    port.setPortName(QString::fromStdString(device));
    port.setBaudRate(settings.baudRate);
    port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
    port.setParity(settings.parity == 'e'   ? QSerialPort::EvenParity
                   : settings.parity == 'o' ? QSerialPort::OddParity
                                            : QSerialPort::NoParity);
    port.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    // Exclusive access: a port another program holds stays with it.
    if (!port.open(QIODevice::ReadWrite)) {
        // Said once for each device and reason, not on every pass of the scan.
        const QString reason = port.errorString();
        if (refusals[device] != reason)
            qCInfo(logLink).noquote()
                << "port" << number << "(" + QString::fromStdString(device) + ")"
                << "refused:" << reason;
        refusals[device] = reason;
        if (port.error() == QSerialPort::PermissionError && notices.count(device) == 0) {
            notices[device] = refusalNotice(number, device);
            if (refusalHandler) refusalHandler(number, notices[device]);
        }
        return false;
    }
    refusals.erase(device);
#ifdef __linux__
    lowLatency = askLowLatency(static_cast<int>(port.handle()));
#else
    lowLatency = false;
#endif
    if (device != lastOpened)
        qCInfo(logLink).noquote() << "port" << number << "opened:" << QString::fromStdString(device)
                                  << (lowLatency ? "(low latency)" : "(no low latency)");
    lastOpened = device;
    // Stale input is not flushed by open() in this Qt.
    port.clear(QSerialPort::AllDirections);
    return true;
}

void QtSerialPort::close() {
    if (port.isOpen()) port.close();
}

bool QtSerialPort::isOpen() const {
    return port.isOpen();
}

void QtSerialPort::write(const std::vector<std::uint8_t>& bytes) {
    if (!port.isOpen()) return;
    port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // Start the bytes now rather than on the next pass of the event loop.
    port.flush();
}

void QtSerialPort::clearInput() {
    if (port.isOpen()) port.clear(QSerialPort::Input);
}

std::size_t QtSerialPort::bytesWaiting() const {
    return port.isOpen() ? static_cast<std::size_t>(port.bytesAvailable()) : 0;
}

std::vector<std::uint8_t> QtSerialPort::read(std::size_t maxBytes) {
    if (!port.isOpen()) return {};
    const QByteArray data = port.read(static_cast<qint64>(maxBytes));
    return {data.begin(), data.end()};
}

void QtSerialPort::setReceiveThreshold(std::size_t bytes) {
    threshold = bytes == 0 ? 1 : bytes;
}

void QtSerialPort::setReceiveHandler(std::function<void()> receive) {
    handler = std::move(receive);
}

std::string QtSerialPort::deviceName(int number) const {
    return directory->deviceFor(number);
}

std::string QtSerialPort::refusalOf(int number) const {
    const auto told = notices.find(directory->deviceFor(number));
    return told == notices.end() ? std::string() : told->second;
}

std::string QtSerialPort::openFailure(int number) const {
    const auto failed = refusals.find(directory->deviceFor(number));
    return failed == refusals.end() ? std::string() : failed->second.toStdString();
}

void QtSerialPort::setRefusalHandler(std::function<void(int, const std::string&)> told) {
    refusalHandler = std::move(told);
}

void QtSerialPort::bytesArrived() {
    if (handler && bytesWaiting() >= threshold) handler();
}

void QtSerialPort::errorRaised(QSerialPort::SerialPortError error) {
    // A device that went away (adapter pulled, far end hung up) raises read
    // errors in a tight loop until the port is closed. Close it from the event
    // loop, not inside the signal; discovery opens a port again later.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
        error != QSerialPort::WriteError)
        return;
    if (errorToldFor != generation)
        qCInfo(logLink).noquote() << "port" << port.portName()
                                  << "closed after an error:" << port.errorString();
    errorToldFor = generation;
    lastOpened.clear();
    const unsigned failed = generation;
    QMetaObject::invokeMethod(
        this,
        [this, failed] {
            if (failed == generation) close();
        },
        Qt::QueuedConnection);
}

}  // namespace travenor
