#pragma once

#include <QObject>
#include <QSerialPort>
#include <map>
#include <memory>

#include "platform/PortDirectory.h"
#include "platform/SerialPort.h"

namespace travenor {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    explicit QtSerialPort(std::unique_ptr<PortDirectory> directory, QObject* parent = nullptr);

    bool open(int number, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override;
    void write(const std::vector<std::uint8_t>& bytes) override;
    void clearInput() override;
    std::size_t bytesWaiting() const override;
    std::vector<std::uint8_t> read(std::size_t maxBytes) override;
    void setReceiveThreshold(std::size_t threshold) override;
    void setReceiveHandler(std::function<void()> handler) override;
    std::string deviceName(int number) const override;
    std::string refusalOf(int number) const override;
    void setRefusalHandler(std::function<void(int, const std::string&)> told) override;

    // Why the last open of port `number` failed, in Qt's words ("No such
    // file or directory"); empty when it opened or was never tried.
    std::string openFailure(int number) const;
    // Whether the driver of the port last opened hands on each byte at once
    // (Linux: ASYNC_LOW_LATENCY, asked for on every open).
    bool lowLatencyGranted() const { return lowLatency; }

  private:
    void bytesArrived();
    void errorRaised(QSerialPort::SerialPortError error);

    std::unique_ptr<PortDirectory> directory;
    QSerialPort port;
    std::size_t threshold = 1;
    std::function<void()> handler;
    // Counts opens, so a close queued for a failed port never closes its successor.
    unsigned generation = 0;
    // What the log has said: refusals by device, the device last opened, the
    // open whose error was told (a hang-up raises errors in a tight loop).
    std::map<std::string, QString> refusals;
    // What the user was told of each device that would not open.
    std::map<std::string, std::string> notices;
    std::function<void(int, const std::string&)> refusalHandler;
    std::string lastOpened;
    unsigned errorToldFor = 0;
    bool lowLatency = false;
};

// Why a device that exists would not open, for the user, in the words of
// this system: no permission (and what to do about it), or another program
// holds it.
std::string refusalNotice(int number, const std::string& device);

}  // namespace travenor
