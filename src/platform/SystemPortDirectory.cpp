#include "platform/SystemPortDirectory.h"

#include <QFileSystemWatcher>
#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace travenor {

namespace {

// Listing the on-board ports walks udev and opens every ttyS (about 12 ms
// here); the scan asks for a port every 20 ms.
constexpr auto ON_BOARD_LIST_AGE = std::chrono::seconds(10);

bool numberedName(const std::string& name, const std::string& prefix, long& number) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string digits = name.substr(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (digits.size() > 9) return false;
    number = std::stol(digits);
    return true;
}

std::vector<std::string> serialLayerOnBoardPorts() {
    std::vector<std::string> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string name = info.portName().toStdString();
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) continue;
        ports.push_back(info.systemLocation().toStdString());
    }
    return ports;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

SystemPortDirectory::SystemPortDirectory(std::string deviceFolder, OnBoardLister onBoardPorts)
    : deviceFolder(std::move(deviceFolder)),
      listOnBoard(onBoardPorts ? std::move(onBoardPorts) : serialLayerOnBoardPorts) {
#ifndef _WIN32
    watcher = std::make_unique<QFileSystemWatcher>();
    watching = watcher->addPath(QString::fromStdString(this->deviceFolder));
    QObject::connect(watcher.get(), &QFileSystemWatcher::directoryChanged, watcher.get(),
                     [this] { stale = true; });
#endif
}

SystemPortDirectory::~SystemPortDirectory() = default;

bool SystemPortDirectory::naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compare the two numbers by value: fewer significant digits is smaller.
            std::size_t si = i;
            std::size_t sj = j;
            while (si < a.size() && a[si] == '0') ++si;
            while (sj < b.size() && b[sj] == '0') ++sj;
            std::size_t ei = si;
            std::size_t ej = sj;
            while (ei < a.size() && isDigit(a[ei])) ++ei;
            while (ej < b.size() && isDigit(b[ej])) ++ej;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int order = a.compare(si, ei - si, b, sj, ej - sj);
            if (order != 0) return order < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
    return a < b;  // "ttyS01" and "ttyS1": any fixed order
}

std::vector<std::string> SystemPortDirectory::adapterNames(
    const std::vector<std::string>& entries) {
    std::vector<std::string> names;
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        std::vector<std::pair<long, std::string>> found;
        for (const std::string& entry : entries) {
            long number = 0;
            if (numberedName(entry, prefix, number)) found.emplace_back(number, entry);
        }
        std::sort(found.begin(), found.end());
        for (auto& [number, name] : found) names.push_back(name);
    }
    return names;
}

void SystemPortDirectory::listDevices() {
    std::vector<std::string> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator it(deviceFolder, error), end; !error && it != end;
         it.increment(error))
        entries.push_back(it->path().filename().string());
    adapters = adapterNames(entries);

    // Without a watch the folder is listed on every call, and the on-board
    // ports (a walk over udev, about 12 ms) only every ten seconds.
    const auto now = std::chrono::steady_clock::now();
    if (watching || !onBoardListed || now - onBoardListedAt >= ON_BOARD_LIST_AGE) {
        onBoard = listOnBoard();
        std::sort(onBoard.begin(), onBoard.end(), naturalLess);
        onBoardListedAt = now;
        onBoardListed = true;
    }
}

std::string SystemPortDirectory::deviceFor(int number) {
    if (number < 1 || number > 16) return {};
#ifdef _WIN32
    return "COM" + std::to_string(number);
#else
    if (stale || !watching) listDevices();
    stale = false;
    const auto index = static_cast<std::size_t>(number - 1);
    if (index < adapters.size()) return deviceFolder + "/" + adapters[index];
    if (index - adapters.size() < onBoard.size()) return onBoard[index - adapters.size()];
    return {};
#endif
}

}  // namespace travenor
