// travenor-cli: the instrument's records and live readings from the command
// line, on the same core as the window (frames, link, decoding, download,
// record line and table), without a window.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "cli/HeadlessViews.h"
#include "cli/RecordExport.h"
#include "link/CommandFrame.h"
#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/MessageBox.h"
#include "platform/ProcessControl.h"
#include "platform/QtFileSystem.h"
#include "platform/QtSerialPort.h"
#include "platform/SafeFile.h"
#include "platform/SystemPortDirectory.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/LivePresenter.h"

namespace travenor {
namespace {

enum Exit { OK = 0, FAILED = 1, USAGE = 2, STOPPED_SHORT = 3, NOT_FOUND = 4, INTERRUPTED = 130 };

constexpr const char* DESCRIPTION =
    R"(The ratio test set's records and live readings from the command line.

Commands:
  list       the port numbers 1 to 16, the device each stands for, and
             whether it can be opened
  download   finds the instrument (on --port or --device, else by scanning
             ports 1 to 16), reads every record and writes them
  live       prints each live reading as one line, until interrupted or
             --count readings

Exit codes:
  0  every record read (live: the readings asked for)
  1  any other failure, said in one line
  2  usage
  3  the download stopped short (k of n records; the k records are written)
  4  no instrument found
  130  interrupted (a download writes the records read so far))";

std::atomic<bool> interrupted{false};

void say(const std::string& line) {
    std::fprintf(stderr, "travenor-cli: %s\n", line.c_str());
}

// Writes bytes to standard output; the reason when they did not all get there
// (a full disk, a closed pipe).
std::string writeStandardOutput(const std::string& bytes) {
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    if (written && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return {};
    return std::string("cannot write standard output: ") + std::strerror(errno != 0 ? errno : EIO);
}

bool toStandardOutput(const QString& output) {
    return output.isEmpty() || output == QLatin1String("-");
}

// The messages the window would show in a box, kept for the last word.
struct KeptMessages : MessageBox {
    std::vector<std::string> prompts;
    void show(const std::string& prompt, const std::string&) override {
        std::string line = prompt;
        for (std::size_t at; (at = line.find("\r\n")) != std::string::npos;)
            line.replace(at, 2, " ");
        while (!line.empty() && line.back() == ' ') line.pop_back();
        prompts.push_back(line);
    }
};

// The live presenter, and a word to whoever waits for whole readings.
struct LiveLines : LiveReadings {
    LivePresenter presenter;
    std::function<void()> readingShown;
    explicit LiveLines(LiveView& view) : presenter(view) {}
    void showLiveReading(const DecodedReply& reading) override {
        presenter.showLiveReading(reading);
        if (readingShown) readingShown();
    }
};

// The core, as the window wires it, on a serial port and no window.
struct Instrument {
    HeadlessViews views;
    LiveLines live{views};
    KeptMessages messages;
    QtFileSystem files;
    RecordStore store;
    QtSerialPort port;
    SerialLink link{port, views};
    RecordTable table{store, views, files, ""};
    Download download{link,  store,    table,
                      views, messages, [] { QCoreApplication::processEvents(); }};
    LinkSupervisor supervisor{link, views, [this] { return download.isDownloading(); }};
    ReplyDecoder decoder{link, supervisor, views, live, download};

    std::vector<std::string> refusals;

    explicit Instrument(std::unique_ptr<PortDirectory> directory) : port(std::move(directory)) {
        port.setReceiveHandler([this] { decoder.receive(); });
        port.setRefusalHandler([this](const std::string& notice) { refusals.push_back(notice); });
        // Every slot starts empty: the table lists whatever the download fills.
        for (int n = RecordStore::FIRST_SLOT; n <= RecordStore::LAST_SLOT; ++n) store.markEmpty(n);
        table.clearRecords();
    }

    // Runs the event loop until `done` holds or `ms` have passed; it sleeps
    // in between, looking every 10 ms.
    static bool runUntil(const std::function<bool()>& done, qint64 ms) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (done() || interrupted || clock.elapsed() > ms) loop.quit();
        });
        look.start(10);
        if (!done()) loop.exec();
        return done();
    }

    // The given port, probed; or the scan over ports 1 to 16, as the window's.
    bool find(int portNumber) {
        QTimer discovery;
        if (portNumber > 0) {
            views.showPort(portNumber);
            QObject::connect(&discovery, &QTimer::timeout, [this, portNumber] {
                link.openPort();
                link.sendCommand(PROBE_COMMAND_BASE + portNumber);
            });
            discovery.start(100);
            link.openPort();
            link.sendCommand(PROBE_COMMAND_BASE + portNumber);
        } else {
            QObject::connect(&discovery, &QTimer::timeout, [this] { supervisor.discoveryTick(); });
            discovery.start(20);
        }
        return runUntil([this] { return supervisor.isLinked(); }, 3000);
    }
};

int listPorts() {
    SystemPortDirectory directory;
    for (int number = 1; number <= 16; ++number) {
        const std::string device = directory.deviceFor(number);
        if (device.empty()) {
            std::printf("%2d  -\n", number);
            continue;
        }
        QSerialPort probe(QString::fromStdString(device));
        const bool opens = probe.open(QIODevice::ReadWrite);
        std::printf("%2d  %s  %s\n", number, device.c_str(),
                    opens ? "can be opened"
                          : ("cannot be opened: " + probe.errorString().toStdString()).c_str());
        probe.close();
    }
    return OK;
}

int download(Instrument& instrument, ExportFormat format, const QString& output, bool quiet) {
    const bool progress = !quiet && standardErrorIsTerminal();
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        instrument.supervisor.discoveryTick();
        if (!instrument.supervisor.isLinked()) instrument.download.linkLost();
    });
    QTimer resend;
    QObject::connect(&resend, &QTimer::timeout, [&] {
        instrument.download.downloadTick();
        if (progress && instrument.download.countKnown())
            std::fprintf(stderr, "\rread %d of %d records", instrument.download.recordsRead(),
                         instrument.download.recordCount());
    });
    watchdog.start(70);
    resend.start(50);
    instrument.download.startDownload();
    Instrument::runUntil([&] { return !instrument.download.isDownloading(); }, 24LL * 3600 * 1000);
    watchdog.stop();
    resend.stop();
    if (progress) std::fputc('\n', stderr);

    // What was read is written whatever the end: a short or interrupted
    // download keeps its records.
    const std::string text = exportRecords(instrument.store, format);
    if (toStandardOutput(output)) {
        if (const std::string failure = writeStandardOutput(text); !failure.empty()) {
            say(failure);
            return FAILED;
        }
    } else {
        const FileOutcome saved = instrument.files.saveText(output.toStdString(), text);
        if (!saved.ok) {
            say("cannot write " + output.toStdString() + ": " + saved.reason);
            return FAILED;
        }
    }
    const Download& download = instrument.download;
    if (interrupted) {
        say("interrupted after " + std::to_string(download.recordsRead()) + " of " +
            std::to_string(download.recordCount()) + " records; those are written");
        return INTERRUPTED;
    }
    switch (download.outcome().end) {
        case DownloadOutcome::End::Complete:
            return OK;
        case DownloadOutcome::End::NoRecords:
            say("the instrument holds no records");
            return OK;
        case DownloadOutcome::End::StoppedShort:
            say(instrument.messages.prompts.empty() ? download.outcome().reason
                                                    : instrument.messages.prompts.back());
            return STOPPED_SHORT;
        case DownloadOutcome::End::None:
            break;
    }
    say("the download ended without a word from the instrument");
    return FAILED;
}

std::string liveLine(const ShownReadings& v, bool json) {
    const auto& p = v.primary;
    const auto& s = v.secondary;
    const auto& e = v.ratioError;
    if (!json)
        return "1st R " + p[0] + " S " + p[1] + " T " + p[2] + " | 2nd R " + s[0] + " S " + s[1] +
               " T " + s[2] + " | F.Er R " + e[0] + " S " + e[1] + " T " + e[2] + " | " +
               v.setRatio + " " + v.measuredRatio +
               (v.highVoltageBatteryLow ? " | HVDev LowBat." : "") +
               (v.lowVoltageBatteryLow ? " | LVDev LowBat" : "");
    auto phases = [](const std::array<std::string, 3>& t) {
        return "{\"R\": " + jsonString(t[0]) + ", \"S\": " + jsonString(t[1]) +
               ", \"T\": " + jsonString(t[2]) + "}";
    };
    return "{\"primary\": " + phases(p) + ", \"secondary\": " + phases(s) +
           ", \"ratioError\": " + phases(e) + ", \"set\": " + jsonString(v.setRatio) +
           ", \"ratio\": " + jsonString(v.measuredRatio) +
           ", \"hvBatteryLow\": " + (v.highVoltageBatteryLow ? "true" : "false") +
           ", \"lvBatteryLow\": " + (v.lowVoltageBatteryLow ? "true" : "false") + "}";
}

int live(Instrument& instrument, bool json, int count) {
    int printed = 0;
    std::string failure;
    instrument.live.readingShown = [&] {
        if ((count > 0 && printed >= count) || !failure.empty()) return;
        failure = writeStandardOutput(liveLine(instrument.views, json) + "\n");
        ++printed;
    };
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] { instrument.supervisor.discoveryTick(); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { instrument.supervisor.pollTick(); });
    watchdog.start(70);
    poll.start(500);
    instrument.supervisor.pollTick();
    Instrument::runUntil(
        [&] {
            return (count > 0 && printed >= count) || !failure.empty() ||
                   !instrument.supervisor.isLinked();
        },
        count > 0 ? count * 5000LL + 5000 : 365LL * 24LL * 3600 * 1000);
    if (!failure.empty()) {
        say(failure);
        return FAILED;
    }
    if (count > 0 && printed >= count) return OK;
    if (interrupted) {
        say("interrupted after " + std::to_string(printed) + " readings");
        return INTERRUPTED;
    }
    if (!instrument.supervisor.isLinked()) {
        say("the instrument stopped answering");
        return FAILED;
    }
    say("fewer readings came than asked for");
    return FAILED;
}

}  // namespace
}  // namespace travenor

int main(int argc, char* argv[]) {
    using namespace travenor;
    ignoreWriteSignals();
    binaryStandardOutput();
    QCoreApplication app(argc, argv);
    onTerminationRequest([] { interrupted = true; });
    QCoreApplication::setApplicationName(QStringLiteral("travenor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRAVENOR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(DESCRIPTION));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("list, download or live"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("the instrument is on port N (1 to 16)"),
                                        QStringLiteral("N"));
    const QCommandLineOption deviceOption(QStringLiteral("device"),
                                          QStringLiteral("the instrument is on this device"),
                                          QStringLiteral("PATH"));
    const QCommandLineOption formatOption(QStringLiteral("format"),
                                          QStringLiteral("table, csv or json (default table)"),
                                          QStringLiteral("FORMAT"), QStringLiteral("table"));
    const QCommandLineOption outputOption(
        QStringLiteral("output"),
        QStringLiteral("write to FILE (atomically) instead of standard output; - is standard "
                       "output"),
        QStringLiteral("FILE"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"),
                                         QStringLiteral("no progress on standard error"));
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("live: stop after K readings"),
                                         QStringLiteral("K"));
    parser.addOptions(
        {portOption, deviceOption, formatOption, outputOption, quietOption, countOption});

    auto usage = [&](const QString& error) {
        say(error.toStdString());
        std::fprintf(stderr, "Try 'travenor-cli --help'.\n");
        return USAGE;
    };
    if (!parser.parse(QCoreApplication::arguments())) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return OK;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("travenor-cli %s\n", TRAVENOR_VERSION);
        return OK;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        return usage(QStringLiteral("one command is needed: list, download or live"));
    const QString command = args.front();

    const QString formatName = parser.value(formatOption);
    ExportFormat format = ExportFormat::Table;
    if (formatName == QLatin1String("csv")) {
        format = ExportFormat::Csv;
    } else if (formatName == QLatin1String("json")) {
        format = ExportFormat::Json;
    } else if (formatName != QLatin1String("table")) {
        return usage(QStringLiteral("unknown format '%1'").arg(formatName));
    }
    int portNumber = 0;
    if (parser.isSet(portOption)) {
        bool ok = false;
        portNumber = parser.value(portOption).toInt(&ok);
        if (!ok || portNumber < 1 || portNumber > 16)
            return usage(QStringLiteral("--port takes a number from 1 to 16"));
    }
    if (parser.isSet(portOption) && parser.isSet(deviceOption))
        return usage(QStringLiteral("--port and --device do not go together"));
    int count = 0;
    if (parser.isSet(countOption)) {
        bool ok = false;
        count = parser.value(countOption).toInt(&ok);
        if (!ok || count < 1) return usage(QStringLiteral("--count takes a number from 1 up"));
    }

    if (command == QLatin1String("list")) return listPorts();
    if (command != QLatin1String("download") && command != QLatin1String("live"))
        return usage(QStringLiteral("unknown command '%1'").arg(command));

    // A file that could never be written is said before the instrument is read.
    const QString output = parser.value(outputOption);
    if (command == QLatin1String("download") && !toStandardOutput(output)) {
        const FileOutcome writable = checkReplaceable(output.toStdString());
        if (!writable.ok) {
            say("cannot write " + output.toStdString() + ": " + writable.reason);
            return FAILED;
        }
    }

    std::unique_ptr<PortDirectory> directory;
    if (parser.isSet(deviceOption)) {
        directory = std::make_unique<FixedPortDirectory>(
            std::map<int, std::string>{{1, parser.value(deviceOption).toStdString()}});
        portNumber = 1;
    } else {
        directory = std::make_unique<SystemPortDirectory>();
    }
    Instrument instrument(std::move(directory));
    if (!instrument.find(portNumber)) {
        if (interrupted) {
            say("interrupted before an instrument answered");
            return INTERRUPTED;
        }
        // A port that refused to open is said as such: it may well be the instrument.
        if (portNumber > 0 && !instrument.port.refusalOf(portNumber).empty()) {
            say(instrument.port.refusalOf(portNumber));
            return FAILED;
        }
        std::string notFound = portNumber > 0
                                   ? "no instrument answers on port " + std::to_string(portNumber)
                                   : std::string("no instrument found on ports 1 to 16");
        for (const std::string& refusal : instrument.refusals) notFound += "; " + refusal;
        say(notFound);
        return NOT_FOUND;
    }
    if (command == QLatin1String("live"))
        return live(instrument, format == ExportFormat::Json, count);
    return download(instrument, format, output, parser.isSet(quietOption));
}
