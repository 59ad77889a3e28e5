// travenor-cli: the instrument's records and live readings from the command
// line, and saved tables turned into data, on the same core as the window.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSerialPort>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>

#include "cli/HeadlessViews.h"
#include "format/CurrentText.h"
#include "format/RatioText.h"
#include "platform/MessageBox.h"
#include "platform/ProcessControl.h"
#include "platform/QtFileSystem.h"
#include "platform/QtSerialPort.h"
#include "platform/SafeFile.h"
#include "platform/SystemPortDirectory.h"
#include "records/AccuracyClass.h"
#include "records/ClassReport.h"
#include "records/ExportReader.h"
#include "records/RecordExport.h"
#include "report/PdfReport.h"
#include "shell/Core.h"
#include "shell/ProgramTimers.h"

namespace travenor {
namespace {

enum Exit {
    OK = 0,
    FAILED = 1,
    USAGE = 2,
    STOPPED_SHORT = 3,
    NOT_FOUND = 4,
    FAILED_CLASS = 5,
    INTERRUPTED = 130
};

constexpr const char* DESCRIPTION =
    R"(The ratio test set's records and live readings from the command line.

Commands:
  list           the port numbers 1 to 16, the device each stands for, and
                 whether it can be opened
  download       finds the instrument (on --port or --device, else by
                 scanning ports 1 to 16), reads every record and writes them
  live           writes each live reading as one line, until interrupted or
                 --count readings
  convert FILE   reads a table saved by Save (or a csv or json export of
                 this program) and writes its records
  report [FILE]  judges each record's ratio error against --class, of the
                 download or of a saved table or export: a PDF test report
                 to --output FILE, or with --format csv or json the records
                 with percent_of_rated, limit_percent, verdict and reason

Formats (--format): table (what Save writes), csv and json (one row or object
per record: number, channel, primary_A, secondary_R_A, secondary_S_A,
secondary_T_A, ratio_error_percent, set_primary_A, rated_secondary_A,
measured_ratio_primary_A, status). list takes table or json; report takes
pdf (the default, needing --output), csv or json.

Exit codes:
  0  every record read (live: the readings asked for)
  1  any other failure, said in one line (a device that is missing, or that
     this account may not open, included)
  2  usage
  3  the download stopped short (k of n records; the k records are written);
     convert, report FILE: lines of the file held no record (the others are
     written)
  4  no instrument found
  5  report: at least one record failed its class (the verdicts are written)
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

// Writes the whole text where the user asked: standard output, or a file
// replaced in one step. False, said, when it could not.
bool writeOutput(const QString& output, const std::string& text) {
    if (toStandardOutput(output)) {
        const std::string failure = writeStandardOutput(text);
        if (failure.empty()) return true;
        say(failure);
        return false;
    }
    const FileOutcome saved = replaceFile(output.toStdString(), text);
    if (saved.ok) return true;
    say("cannot write " + output.toStdString() + ": " + saved.reason);
    return false;
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

// Runs the event loop until `done` holds, the user interrupts or `ms` have
// passed; it sleeps in between, looking every 10 ms.
bool runUntil(const std::function<bool()>& done, qint64 ms) {
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

// The core on a serial port, with its views in memory and its ticks on
// timers, as the window has them.
struct Instrument {
    HeadlessViews views;
    KeptMessages messages;
    QtFileSystem files;
    NoPrinter printer;
    QtSerialPort port;
    ProgramTimers timers;
    Core core;
    std::vector<std::string> refusals;

    explicit Instrument(std::unique_ptr<PortDirectory> directory)
        : port(std::move(directory)),
          core(CoreParts{port, views, views, views, views, views, timers, files, messages, printer,
                         "", [] { QCoreApplication::processEvents(); },
                         [] { return std::string(); }}) {
        port.setRefusalHandler(
            [this](int, const std::string& notice) { refusals.push_back(notice); });
        for (const TickPlan& t : TICKS)
            QObject::connect(timers.timer(t.tick), &QTimer::timeout,
                             [this, tick = t.tick] { core.tick(tick); });
    }
    ~Instrument() { timers.setLive(false); }

    // The instrument on port `portNumber` alone, or by the scan over ports
    // 1 to 16 when it is 0.
    bool find(int portNumber) {
        if (portNumber > 0) {
            views.showPort(portNumber);
            core.supervisor.scanOnly(portNumber);
        }
        core.status.loadMainWindow();
        // Every slot starts empty: the table lists whatever the download fills.
        core.store.markAllEmpty();
        timers.setLive(true);
        return runUntil([this] { return core.supervisor.isLinked(); }, 3000);
    }
};

std::string jsonOrNull(const std::string& text) {
    return text.empty() ? "null" : jsonString(text);
}

int listPorts(bool json) {
    SystemPortDirectory directory;
    std::string out = json ? "[" : "";
    for (int number = 1; number <= 16; ++number) {
        const std::string device = directory.deviceFor(number);
        bool opens = false;
        std::string reason;
        if (!device.empty()) {
            QSerialPort probe(QString::fromStdString(device));
            opens = probe.open(QIODevice::ReadWrite);
            if (!opens) reason = probe.errorString().toStdString();
            probe.close();
        }
        if (json) {
            out += std::string(number > 1 ? ",\n" : "\n") +
                   "  {\"port\": " + std::to_string(number) +
                   ", \"device\": " + jsonOrNull(device) +
                   ", \"opens\": " + (opens ? "true" : "false") +
                   ", \"reason\": " + jsonOrNull(reason) + "}";
        } else {
            char number2[8];
            std::snprintf(number2, sizeof number2, "%2d", number);
            out +=
                std::string(number2) + "  " +
                (device.empty()
                     ? "-"
                     : device + "  " + (opens ? "can be opened" : "cannot be opened: " + reason)) +
                "\n";
        }
    }
    if (json) out += "\n]\n";
    const std::string failure = writeStandardOutput(out);
    if (failure.empty()) return OK;
    say(failure);
    return FAILED;
}

using Render = std::function<std::string(const RecordStore&)>;

int download(Instrument& instrument, const Render& render, const QString& output, bool quiet) {
    Core& core = instrument.core;
    const bool progress = !quiet && standardErrorIsTerminal();
    if (progress)
        instrument.views.progressed = [&core] {
            if (core.download.countKnown())
                std::fprintf(stderr, "\rread %d of %d records", core.download.recordsRead(),
                             core.download.recordCount());
        };
    core.download.startDownload();
    runUntil([&] { return !core.download.isDownloading(); }, 24LL * 3600 * 1000);
    instrument.timers.setLive(false);
    if (progress) std::fputc('\n', stderr);

    // What was read is written whatever the end: a short or interrupted
    // download keeps its records.
    if (!writeOutput(output, render(core.store))) return FAILED;
    const Download& download = core.download;
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

// A live reading's values in the columns of the record export, without the
// record number, and the two battery warnings.
std::vector<std::string> liveCells(const DecodedReply& reading) {
    std::vector<std::string> cells = exportCells(0, reading.record());
    cells.erase(cells.begin());
    cells.insert(cells.end() - 1, reading.highVoltageBatteryLow ? "true" : "false");
    cells.insert(cells.end() - 1, reading.lowVoltageBatteryLow ? "true" : "false");
    return cells;
}

std::vector<std::string> liveColumns() {
    std::vector<std::string> columns(std::begin(EXPORT_COLUMNS) + 1, std::end(EXPORT_COLUMNS));
    columns.insert(columns.end() - 1, "hv_battery_low");
    columns.insert(columns.end() - 1, "lv_battery_low");
    columns.insert(columns.begin(), "time");
    return columns;
}

std::string liveLine(ExportFormat format, const std::string& time, const ShownReadings& v,
                     const DecodedReply& reading) {
    if (format == ExportFormat::Table) {
        const auto& p = v.primary;
        const auto& s = v.secondary;
        const auto& e = v.ratioError;
        return time + " | 1st R " + p[0] + " S " + p[1] + " T " + p[2] + " | 2nd R " + s[0] +
               " S " + s[1] + " T " + s[2] + " | F.Er R " + e[0] + " S " + e[1] + " T " + e[2] +
               " | " + v.setRatio + " " + v.measuredRatio +
               (v.highVoltageBatteryLow ? " | HVDev LowBat." : "") +
               (v.lowVoltageBatteryLow ? " | LVDev LowBat" : "") + "\n";
    }
    std::vector<std::string> cells = liveCells(reading);
    cells.insert(cells.begin(), time);
    if (format == ExportFormat::Csv) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i)
            line += (i > 0 ? "," : "") + csvField(cells[i]);
        return line + "\r\n";
    }
    const std::vector<std::string> columns = liveColumns();
    std::string line = "{";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool text = i == 0 || columns[i] == "channel" || columns[i] == "status";
        line += (i > 0 ? ", " : "") + jsonString(columns[i]) + ": " +
                (text && !(columns[i] == "channel" && cells[i].empty())
                     ? jsonString(cells[i])
                     : (cells[i].empty() ? std::string("null") : cells[i]));
    }
    return line + "}\n";
}

// The time of a reading in ISO 8601 with milliseconds and the offset from UTC.
std::string isoTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs).toStdString();
}

int live(Instrument& instrument, ExportFormat format, int count, const QString& output) {
    const bool toFile = !toStandardOutput(output);
    std::string kept;
    int written = 0;
    std::string failure;
    const auto put = [&](const std::string& text) {
        if (toFile)
            kept += text;
        else if (failure.empty())
            failure = writeStandardOutput(text);
    };
    if (format == ExportFormat::Csv) {
        std::string header;
        for (const std::string& column : liveColumns())
            header += (header.empty() ? "" : ",") + column;
        put(header + "\r\n");
    }
    instrument.core.liveReadingTaken = [&](const DecodedReply& reading) {
        if ((count > 0 && written >= count) || !failure.empty()) return;
        put(liveLine(format, isoTimeNow(), instrument.views, reading));
        ++written;
    };
    const bool linkLost = !runUntil(
        [&] {
            return (count > 0 && written >= count) || !failure.empty() ||
                   (!toFile && standardOutputClosed()) || !instrument.core.supervisor.isLinked();
        },
        count > 0 ? count * 5000LL + 5000 : 365LL * 24LL * 3600 * 1000);
    instrument.timers.setLive(false);
    instrument.core.liveReadingTaken = nullptr;
    if (toFile && !writeOutput(output, kept)) return FAILED;
    if (!failure.empty() || (!toFile && standardOutputClosed())) {
        say(failure.empty() ? std::string("cannot write standard output: ") + std::strerror(EPIPE)
                            : failure);
        return FAILED;
    }
    if (count > 0 && written >= count) return OK;
    if (interrupted) {
        say("interrupted after " + std::to_string(written) + " readings");
        return INTERRUPTED;
    }
    if (linkLost && !instrument.core.supervisor.isLinked()) {
        say("the instrument stopped answering");
        return FAILED;
    }
    say("fewer readings came than asked for");
    return FAILED;
}

int convert(const QString& file, const Render& render, const QString& output) {
    std::string bytes;
    const FileOutcome read = readRegularFile(file.toStdString(), bytes);
    if (!read.ok) {
        say("cannot read " + file.toStdString() + ": " + read.reason);
        return FAILED;
    }
    const ReadTable table = readRecordFile(bytes);
    if (!table.isTable) {
        say(file.toStdString() +
            " is not a record table (it has no header line) nor a csv or json export of records");
        return FAILED;
    }
    RecordStore store;
    store.markAllEmpty();
    for (const auto& [number, record] : table.records) store.store(number, record);
    if (!writeOutput(output, render(store))) return FAILED;
    for (const UnreadLine& line : table.unread)
        say(file.toStdString() + " line " + std::to_string(line.line) + ": " + line.reason +
            "; left out");
    return table.unread.empty() ? OK : STOPPED_SHORT;
}

// Why the instrument could not be reached, with its exit code.
int notFound(Instrument& instrument, int portNumber) {
    if (interrupted) {
        say("interrupted before an instrument answered");
        return INTERRUPTED;
    }
    QtSerialPort& port = instrument.port;
    // A named port that would not open is said as such: it may well be the
    // instrument, and only the user can mend it.
    if (portNumber > 0) {
        const std::string device = port.deviceName(portNumber);
        if (device.empty()) {
            say("port " + std::to_string(portNumber) + " stands for no device here");
            return FAILED;
        }
        if (!port.refusalOf(portNumber).empty()) {
            say(port.refusalOf(portNumber));
            return FAILED;
        }
        if (const std::string failure = port.openFailure(portNumber); !failure.empty()) {
            say("cannot open " + device + ": " + failure);
            return FAILED;
        }
        say("no instrument answers on " + device);
        return NOT_FOUND;
    }
    std::vector<int> candidates;
    for (int n = SerialLink::FIRST_PORT; n <= SerialLink::LAST_PORT; ++n)
        if (!port.deviceName(n).empty()) candidates.push_back(n);
    if (candidates.size() == 1 && !port.refusalOf(candidates.front()).empty()) {
        say(port.refusalOf(candidates.front()));
        return FAILED;
    }
    std::string text = candidates.empty() ? std::string("no serial port on this machine")
                                          : std::string("no instrument found on ports 1 to 16");
    for (const std::string& refusal : instrument.refusals) text += "; " + refusal;
    say(text);
    return NOT_FOUND;
}

// The options of every command.
struct Options {
    QCommandLineOption port{{QStringLiteral("p"), QStringLiteral("port")},
                            QStringLiteral("the instrument is on port N (1 to 16)"),
                            QStringLiteral("N")};
    QCommandLineOption device{{QStringLiteral("d"), QStringLiteral("device")},
                              QStringLiteral("the instrument is on this device"),
                              QStringLiteral("PATH")};
    QCommandLineOption format{
        {QStringLiteral("f"), QStringLiteral("format")},
        QStringLiteral("table, csv or json (default table); report: pdf (default), csv or json"),
        QStringLiteral("FORMAT")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("write to FILE (replaced in one step) instead of standard output; - is "
                       "standard output"),
        QStringLiteral("FILE")};
    QCommandLineOption quiet{{QStringLiteral("q"), QStringLiteral("quiet")},
                             QStringLiteral("download: no progress on standard error")};
    QCommandLineOption count{QStringLiteral("count"), QStringLiteral("live: stop after K readings"),
                             QStringLiteral("K")};
    QCommandLineOption accuracy{
        QStringLiteral("class"),
        QStringLiteral("report: the accuracy class (0.1, 0.2, 0.5, 1, 0.2S, 0.5S, 3, 5)"),
        QStringLiteral("C")};
    QCommandLineOption rated{
        QStringLiteral("rated-primary"),
        QStringLiteral("report: the rated primary current in A (else each record's set primary)"),
        QStringLiteral("A")};
    QCommandLineOption factor{
        QStringLiteral("rating-factor"),
        QStringLiteral("report: the rating factor in percent, 120 (default), 150 or 200"),
        QStringLiteral("F")};

    std::vector<const QCommandLineOption*> all() const {
        return {&port, &device, &format, &output, &quiet, &count, &accuracy, &rated, &factor};
    }
    void addTo(QCommandLineParser& parser) const {
        parser.addHelpOption();
        parser.addVersionOption();
        for (const QCommandLineOption* option : all()) parser.addOption(*option);
    }
};

// Whether the command line asks for a PDF report, which needs Qt's fonts and
// so a QGuiApplication; read before there is any application object.
bool wantsPdf(int argc, char* argv[], const Options& options) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    options.addTo(parser);
    if (!parser.parse(arguments)) return false;
    const QStringList positional = parser.positionalArguments();
    return !positional.isEmpty() && positional.front() == QLatin1String("report") &&
           (!parser.isSet(options.format) || parser.value(options.format) == QLatin1String("pdf"));
}

// The time the report is made: now, or the build's fixed time where
// SOURCE_DATE_EPOCH is set, so that the same records make the same report.
std::string reportTime() {
    bool fixed = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&fixed);
    if (fixed)
        return QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC)
            .toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
            .toStdString();
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
}

}  // namespace
}  // namespace travenor

int main(int argc, char* argv[]) {
    using namespace travenor;
    ignoreWriteSignals();
    binaryStandardOutput();
    const Options o;
    const bool pdf = wantsPdf(argc, argv, o);
#ifndef Q_OS_WIN
    // A report is painted, never shown: no display is needed or wanted.
    if (pdf && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    const std::unique_ptr<QCoreApplication> app(pdf ? new QGuiApplication(argc, argv)
                                                    : new QCoreApplication(argc, argv));
    onTerminationRequest([] { interrupted = true; });
    QCoreApplication::setApplicationName(QStringLiteral("travenor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRAVENOR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(DESCRIPTION));
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("list, download, live, convert FILE or report [FILE]"));
    o.addTo(parser);
    const QCommandLineOption& portOption = o.port;
    const QCommandLineOption& deviceOption = o.device;
    const QCommandLineOption& formatOption = o.format;
    const QCommandLineOption& outputOption = o.output;
    const QCommandLineOption& quietOption = o.quiet;
    const QCommandLineOption& countOption = o.count;
    const QCommandLineOption& classOption = o.accuracy;
    const QCommandLineOption& ratedOption = o.rated;
    const QCommandLineOption& factorOption = o.factor;

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
    if (args.isEmpty())
        return usage(
            QStringLiteral("one command is needed: list, download, live, convert or report"));
    const QString command = args.front();
    const std::map<QString, std::set<const QCommandLineOption*>> allowed = {
        {QStringLiteral("list"), {&formatOption}},
        {QStringLiteral("download"),
         {&portOption, &deviceOption, &formatOption, &outputOption, &quietOption}},
        {QStringLiteral("live"),
         {&portOption, &deviceOption, &formatOption, &outputOption, &countOption}},
        {QStringLiteral("convert"), {&formatOption, &outputOption}},
        {QStringLiteral("report"),
         {&portOption, &deviceOption, &formatOption, &outputOption, &quietOption, &classOption,
          &ratedOption, &factorOption}},
    };
    const auto options = allowed.find(command);
    if (options == allowed.end()) return usage(QStringLiteral("unknown command '%1'").arg(command));
    const bool report = command == QLatin1String("report");
    const qsizetype arguments = command == QLatin1String("convert") ? 2 : 1;
    if (report ? args.size() > 2 : args.size() != arguments)
        return usage(command == QLatin1String("convert") ? QStringLiteral("convert takes one file")
                     : report ? QStringLiteral("report takes one file at most")
                              : QStringLiteral("%1 takes no further argument").arg(command));
    for (const QCommandLineOption* option : o.all())
        if (parser.isSet(*option) && options->second.count(option) == 0)
            return usage(QStringLiteral("--%1 does not go with %2")
                             .arg(option->names().constLast(), command));

    const QString formatName = parser.isSet(formatOption) ? parser.value(formatOption)
                               : report                   ? QStringLiteral("pdf")
                                                          : QStringLiteral("table");
    // The report's table is its PDF.
    ExportFormat format = ExportFormat::Table;
    if (formatName == QLatin1String("csv") && command != QLatin1String("list")) {
        format = ExportFormat::Csv;
    } else if (formatName == QLatin1String("json")) {
        format = ExportFormat::Json;
    } else if (formatName != QLatin1String(report ? "pdf" : "table")) {
        return usage(QStringLiteral("unknown format '%1' for %2").arg(formatName, command));
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

    if (command == QLatin1String("list")) return listPorts(format == ExportFormat::Json);

    // report: verdicts against an accuracy class.
    const AccuracyClass* accuracy = nullptr;
    std::optional<int> ratedPrimary;
    int ratingFactor = 120;
    if (report) {
        if (!parser.isSet(classOption)) return usage(QStringLiteral("report needs --class"));
        accuracy = accuracyClass(parser.value(classOption).toStdString());
        if (accuracy == nullptr)
            return usage(QStringLiteral("unknown class '%1'").arg(parser.value(classOption)));
        if (format == ExportFormat::Table && !parser.isSet(outputOption))
            return usage(
                QStringLiteral("a PDF report needs --output FILE (- for standard output)"));
        if (parser.isSet(ratedOption)) {
            bool ok = false;
            ratedPrimary = parser.value(ratedOption).toInt(&ok);
            if (!ok || *ratedPrimary < 1 || *ratedPrimary > 16383)
                return usage(QStringLiteral("--rated-primary takes amperes from 1 to 16383"));
        }
        if (parser.isSet(factorOption)) {
            bool ok = false;
            ratingFactor = parser.value(factorOption).toInt(&ok);
            if (!ok || !isRatingFactor(ratingFactor))
                return usage(QStringLiteral("--rating-factor takes 120, 150 or 200"));
        }
    }
    int failed = 0;
    std::string source;  // where the records came from, for the report's heading
    const Render render = [&](const RecordStore& store) {
        if (!report) return exportRecords(store, format);
        std::vector<std::pair<int, Record>> records;
        for (const auto& [n, record] : filledRecords(store)) records.emplace_back(n, *record);
        const ClassReport judged = classReport(records, *accuracy, ratedPrimary, ratingFactor);
        failed = judged.failed();
        if (format != ExportFormat::Table)
            return exportVerdicts(judged, format == ExportFormat::Csv);
        const QByteArray bytes =
            pdfReport(judged, {reportTime(), source, "travenor-cli " TRAVENOR_VERSION,
                               letterPaper(QLocale::system())});
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    };
    // A record that failed its class is the first thing a script must know.
    const auto judged = [&failed](int code) {
        return failed > 0 && (code == OK || code == STOPPED_SHORT) ? FAILED_CLASS : code;
    };

    // A file that could never be written is said before anything is read.
    const QString output = parser.value(outputOption);
    if (!toStandardOutput(output)) {
        const FileOutcome writable = checkReplaceable(output.toStdString());
        if (!writable.ok) {
            say("cannot write " + output.toStdString() + ": " + writable.reason);
            return FAILED;
        }
    }
    if (command == QLatin1String("convert")) return convert(args.at(1), render, output);
    if (report && args.size() == 2) {
        source = "file " + QFileInfo(args.at(1)).fileName().toStdString();
        return judged(convert(args.at(1), render, output));
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
    if (!instrument.find(portNumber)) return notFound(instrument, portNumber);
    if (command == QLatin1String("live")) return live(instrument, format, count, output);
    const int linkedPort = std::atoi(instrument.views.port.c_str());
    source = "instrument on " + instrument.port.deviceName(linkedPort) +
             (parser.isSet(deviceOption) ? "" : " (port " + std::to_string(linkedPort) + ")");
    return judged(download(instrument, render, output, parser.isSet(quietOption)));
}
