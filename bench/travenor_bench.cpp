// Measures the program's figures: table build time, download speed against
// travenor-sim over a pseudo-terminal, CPU use and memory while scanning and
// while linked. Usage: travenor-bench [table|download|cpu|all] [seconds]
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "link/LinkSupervisor.h"
#include "platform/QtSerialPort.h"
#include "platform/SystemPortDirectory.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "sim/SimPort.h"
#include "support/SimProcess.h"
#include "support/Wait.h"

using namespace travenor;

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 20, '\n');
    }
    return -1;
}

ApplicationOptions options(const QTemporaryDir& folder) {
    ApplicationOptions result;
    result.programFolder = folder.path().toStdString();
    return result;
}

void benchTable() {
    QTemporaryDir folder;
    sim::Config config;
    Application app(
        std::make_unique<sim::SimPort>(std::make_unique<sim::InstrumentModel>(config), 3, false),
        options(folder));
    app.load();
    // 1234.5A, 4.998A, 5.001A, 4.997A, -0.2%, 600/5A
    Record record{Record::Slot::Filled,
                  {12345, 0x31},
                  {{{4998, 0x33}, {5001, 0x33}, {4997, 0x33}}},
                  {2},
                  {true, 600, 50},
                  0,
                  600};
    for (int n = 1; n <= 3500; ++n) {
        record.channel = static_cast<std::int16_t>(n % 3);
        app.store().store(n, record);
    }
    const int runs = 20;
    double total = 0, worst = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        app.table().showTable();
        const double ms = clock.nsecsElapsed() / 1e6;
        total += ms;
        worst = std::max(worst, ms);
    }
    std::printf(
        "The table over 3500 full slots, shown in both boxes: mean %.1f ms, worst %.1f ms "
        "(%d runs)\n",
        total / runs, worst, runs);
}

double downloadSeconds(const QStringList& simOptions, int records) {
    QStringList args = simOptions;
    args << "--records" << QString::number(records);
    test::SimProcess sim(args);
    if (!sim.started) {
        std::printf("travenor-sim did not start\n");
        return -1;
    }
    QTemporaryDir folder;
    Application app(std::make_unique<QtSerialPort>(std::make_unique<FixedPortDirectory>(
                        std::map<int, std::string>{{5, sim.path()}})),
                    options(folder));
    app.start();
    if (!test::waitFor([&] { return app.supervisor().isLinked(); }, 10000)) return -1;
    test::runFor(600);
    QElapsedTimer clock;
    clock.start();
    app.runCommand(Command::Read);
    test::waitFor([&] { return !app.download().isDownloading(); }, 600000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    int stored = 0;
    for (int n = 1; n <= records && n <= RecordStore::LAST_SLOT; ++n)
        stored += !app.store().isEmpty(n);
    std::printf("  %d of %d records stored\n", stored, records);
    return seconds;
}

void benchDownload() {
    const double lineRate = downloadSeconds({"--turnaround", "0"}, 4000);
    std::printf(
        "4000 records at line rate (turnaround 0): %.2f s; line limit 25.00 s; ratio %.3f\n",
        lineRate, 25.0 / lineRate);
    const double withTurnaround = downloadSeconds({"--turnaround", "1"}, 4000);
    std::printf("4000 records at line rate, 1 ms turnaround: %.2f s\n", withTurnaround);
    const double fast = downloadSeconds({"--no-line-delay", "--turnaround", "0"}, 4000);
    std::printf("4000 records without line delay: %.2f s = %.0f records/s\n", fast, 4000 / fast);
}

double cpuPercent(int seconds) {
    const double before = test::processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    // One plain event loop, as the program runs: no waking of our own.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (test::processCpuSeconds() - before) / (clock.nsecsElapsed() / 1e9);
}

void benchCpu(int seconds) {
    {
        QTemporaryDir folder;
        Application app(std::make_unique<QtSerialPort>(std::make_unique<SystemPortDirectory>()),
                        options(folder));
        app.start();
        test::runFor(500);
        std::printf(
            "scanning the machine's ports, no instrument, %d s: %.2f%% of one core, resident %ld "
            "KiB\n",
            seconds, cpuPercent(seconds), residentKiB());
        // What the window's painting costs: the same with nothing to paint.
        app.window().setVisible(false);
        std::printf("  the same with the window hidden: %.2f%% of one core\n", cpuPercent(seconds));
    }
    {
        test::SimProcess sim({});
        QTemporaryDir folder;
        Application app(std::make_unique<QtSerialPort>(std::make_unique<FixedPortDirectory>(
                            std::map<int, std::string>{{5, sim.path()}})),
                        options(folder));
        app.start();
        test::waitFor([&] { return app.supervisor().isLinked(); }, 10000);
        std::printf("linked and polling, %d s: %.2f%% of one core, resident %ld KiB\n", seconds,
                    cpuPercent(seconds), residentKiB());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "all";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    if (what == "table" || what == "all") benchTable();
    if (what == "download" || what == "all") benchDownload();
    if (what == "cpu" || what == "all") benchCpu(seconds);
    return 0;
}
