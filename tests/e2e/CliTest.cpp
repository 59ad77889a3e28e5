#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "format/FillText.h"
#include "link/DecodedReply.h"
#include "platform/QtSerialPort.h"
#include "records/RecordExport.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "sim/InstrumentModel.h"
#include "support/CliRun.h"
#include "support/SimProcess.h"
#include "support/TargetKinds.h"
#include "support/Wait.h"

namespace travenor {
namespace {

// What the window stores for the simulator's first `count` records.
RecordStore storeOf(int count, std::uint32_t seed) {
    RecordStore store;
    for (int n = 0; n <= 3500; ++n) store.markEmpty(n);
    const auto records = sim::InstrumentModel::generateRecords(count, seed);
    for (int n = 1; n <= count; ++n)
        store.store(n, DecodedReply::from(records[static_cast<std::size_t>(n - 1)]).record());
    return store;
}

// 500 records in each format, from the simulator at line rate: the table is
// what the window saves, CSV and JSON read back give the same fields.
TEST(Cli, DownloadsInEveryFormat) {
    test::SimProcess sim({"--records", "500", "--seed", "4", "--turnaround", "0"});
    ASSERT_TRUE(sim.started);
    const QString device = QString::fromStdString(sim.path());
    const RecordStore expected = storeOf(500, 4);

    QTemporaryDir folder;
    const QString tableFile = folder.filePath(QStringLiteral("records.txt"));
    const CliRun table = cli({"download", "--device", device, "--output", tableFile});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    QFile saved(tableFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), RecordTable::tableText(expected, 1, 3500) + "\r\n");
    std::printf("500 records by the command line, table: %.2f s\n", table.seconds);

    // CSV and JSON: numbers a script reads as numbers, each the value the
    // table's text shows (checked in Python, with pandas, from the texts).
    const QString csvFile = folder.filePath(QStringLiteral("records.csv"));
    const QString jsonFile = folder.filePath(QStringLiteral("records.json"));
    const CliRun csv = cli({"download", "-d", device, "-f", "csv", "-q", "-o", csvFile});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const CliRun json =
        cli({"download", "--device", device, "--format", "json", "--output", jsonFile});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QProcess check;
    check.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(TRAVENOR_SOURCE_DIR "/tests/e2e/export_check.py"), tableFile,
                 csvFile, jsonFile});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString()
                                   << check.readAllStandardError().toStdString();

    // A saved table converts to the same values, but for the set primary
    // current, which the table does not show, and for the precision a text
    // drops ("32.2A" of a count of 3220 hundredths).
    const CliRun converted = cli({"convert", tableFile, "--format", "csv"});
    ASSERT_EQ(converted.exitCode, 0) << converted.err.toStdString();
    QFile downloaded(csvFile);
    ASSERT_TRUE(downloaded.open(QIODevice::ReadOnly));
    const auto values = [](QString text, bool dropSet) {
        if (dropSet)
            text.replace(QRegularExpression(QStringLiteral("^(\\d+,(?:[^,]*,){6})\\d+,"),
                                            QRegularExpression::MultilineOption),
                         QStringLiteral("\\1,"));
        return text.replace(QRegularExpression(QStringLiteral("(\\.\\d*?)0+(?=[,\r])")),
                            QStringLiteral("\\1"));
    };
    EXPECT_EQ(values(QString::fromUtf8(converted.out), false),
              values(QString::fromUtf8(downloaded.readAll()), true));
}

// A lost count reply, the instrument falling silent, no instrument at all.
TEST(Cli, FailuresGiveTheirExitCodes) {
    {
        test::SimProcess sim(
            {"--records", "300", "--seed", "2", "--drop-count-replies", "1", "--no-line-delay"});
        ASSERT_TRUE(sim.started);
        const CliRun run =
            cli({"download", "--device", QString::fromStdString(sim.path()), "--format", "csv"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.count('\n'), 301);
    }
    {
        test::SimProcess sim({"--records", "40", "--silent-after-record", "17", "--no-line-delay"});
        ASSERT_TRUE(sim.started);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("part.csv"));
        const CliRun run = cli({"download", "--device", QString::fromStdString(sim.path()),
                                "--format", "csv", "--output", file});
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_TRUE(run.err.contains(QStringLiteral("Read stopped after record 17 of 40")))
            << run.err.toStdString();
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll().count('\n'), 18);  // header and records 1 to 17
    }
    // A device that is not there is said as such.
    const CliRun none = cli({"download", "--device", "/nonexistent/ttyUSB7"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err,
              "travenor-cli: cannot open /nonexistent/ttyUSB7: No such file or directory\n");

    // A file that cannot be written: nothing half-written, one line, exit 1.
    test::SimProcess sim({"--records", "5", "--no-line-delay"});
    ASSERT_TRUE(sim.started);
    const CliRun unwritable = cli({"download", "--device", QString::fromStdString(sim.path()),
                                   "--output", "/nonexistent/folder/x.txt"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("cannot write")))
        << unwritable.err.toStdString();
}

TEST(Cli, BadOptionsAreUsageErrors) {
    const QStringList cases[] = {
        {},
        {"fetch"},
        {"download", "--format", "xml"},
        {"download", "--port", "17"},
        {"download", "--port", "x"},
        {"download", "--port", "1", "--device", "/dev/null"},
        {"live", "--count", "0"},
        {"download", "--bogus"},
        {"list", "extra"},
        // Options that do not go with the command.
        {"list", "--output", "x.txt"},
        {"list", "--format", "csv"},
        {"live", "--quiet"},
        {"download", "--count", "3"},
        {"convert", "--port", "1", "t.txt"},
        {"convert"},
        {"convert", "a.txt", "b.txt"},
        {"download", "-o"},
    };
    for (const QStringList& args : cases) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--help"))) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(' ').toStdString();
    }
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part :
         {"list", "download", "live", "convert FILE", "Exit codes", "stopped short", "-o, --output",
          "-f, --format", "-q, --quiet", "-p, --port", "-d, --device", "measured_ratio_primary_A"})
        EXPECT_TRUE(help.out.contains(part)) << part;
}

// convert: a saved table to data, each outcome with its exit code; list as
// JSON.
TEST(Cli, ConvertAndListSayWhatTheyFound) {
    QTemporaryDir folder;
    const std::string top = RecordTable::TITLE_LINE + "\r\n" + RecordTable::HEADER_LINE + "\r\n";
    const std::string line =
        "NO.0005    600.0A   198.9mA      5.001A     4.997A   -0.2%     600/5A     R";
    const struct {
        const char* what;
        std::string bytes;
        QStringList options;
        int exitCode;
        const char* out;  // standard output, or nullptr
        const char* err;  // a part of standard error, or nullptr
    } cases[] = {
        {"table to csv",
         top + line + "\r\n\r\n",
         {"-f", "csv"},
         0,
         "number,channel,primary_A,secondary_R_A,secondary_S_A,secondary_T_A,ratio_error_percent,"
         "set_primary_A,rated_secondary_A,measured_ratio_primary_A,status\r\n"
         "5,R,600.0,0.1989,5.001,4.997,-0.2,,5.0,600,\r\n",
         nullptr},
        {"LF table to json",
         "Travenor\n" + RecordTable::HEADER_LINE + "\n" + line + "\n",
         {"--format", "json"},
         0,
         "[\n  {\"number\": 5, \"channel\": \"R\", \"primary_A\": 600.0, \"secondary_R_A\": "
         "0.1989, "
         "\"secondary_S_A\": 5.001, \"secondary_T_A\": 4.997, \"ratio_error_percent\": -0.2, "
         "\"set_primary_A\": null, \"rated_secondary_A\": 5.0, \"measured_ratio_primary_A\": 600, "
         "\"status\": \"\"}\n]\n",
         nullptr},
        {"table to table", top + line + "\r\n", {}, 0, nullptr, nullptr},
        {"a damaged line",
         top + line + "\r\nNO.0006 junk\r\n",
         {"-f", "csv"},
         3,
         nullptr,
         "line 4: it holds 1 field, not 7; left out"},
        {"no table", "Dear Sir,\r\n", {}, 1, "", "is not a record table"},
    };
    for (const auto& c : cases) {
        const QString file = folder.filePath(QStringLiteral("saved.txt"));
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::WriteOnly | QIODevice::Truncate));
        saved.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        saved.close();
        const CliRun run = cli(QStringList{"convert", file} + c.options);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err.toStdString();
        if (c.out) {
            EXPECT_EQ(run.out.toStdString(), c.out) << c.what;
        }
        EXPECT_EQ(c.err ? run.err.contains(QLatin1String(c.err)) : run.err.isEmpty(), true)
            << c.what << ": " << run.err.toStdString();
    }
    const CliRun missing = cli({"convert", folder.filePath(QStringLiteral("none.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("cannot read"))) << missing.err.toStdString();

    const CliRun list = cli({"list", "--format", "json"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonArray ports = QJsonDocument::fromJson(list.out).array();
    ASSERT_EQ(ports.size(), 16);
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(ports[n]["port"].toInt(), n + 1);
        EXPECT_TRUE(ports[n]["opens"].isBool());
    }
}

// report: each record judged against its class; exit 5 when one failed.
TEST(Cli, ReportJudgesEachRecordAgainstItsClass) {
    QTemporaryDir folder;
    const std::string top = RecordTable::TITLE_LINE + "\r\n" + RecordTable::HEADER_LINE + "\r\n";
    // 600 A at 600 A rated: +0.5 % passes class 0.5, +0.6 % fails; 24 A is 4 %.
    const std::string pass =
        "NO.0001    600.0A    5.000A      5.000A     5.000A   +0.5%     600/5A     R";
    const std::string fail =
        "NO.0002    600.0A    5.000A      5.000A     5.000A   +0.6%     600/5A     R";
    const std::string low =
        "NO.0003     24.0A      0.2A        0.2A       0.2A   +0.5%     600/5A     R";
    const QString file = folder.filePath(QStringLiteral("saved.txt"));
    const auto save = [&](const std::string& bytes) {
        QFile saved(file);
        ASSERT_TRUE(saved.open(QIODevice::WriteOnly | QIODevice::Truncate));
        saved.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    save(top + pass + "\r\n" + fail + "\r\n" + low + "\r\n");
    const CliRun judged =
        cli({"report", file, "--class", "0.5", "--rated-primary", "600", "-f", "csv"});
    EXPECT_EQ(judged.exitCode, 5) << judged.err.toStdString();
    const QList<QByteArray> rows = judged.out.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(
        rows[0].trimmed().endsWith(",status,percent_of_rated,limit_percent,verdict,reason"));
    EXPECT_TRUE(rows[1].trimmed().endsWith(",100.0000,0.5000,pass,")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].trimmed().endsWith(",100.0000,0.5000,fail,")) << rows[2].toStdString();
    EXPECT_TRUE(rows[3].trimmed().endsWith(",4.0000,,not evaluated,below 5 % of rated current"))
        << rows[3].toStdString();

    save(top + pass + "\r\n" + low + "\r\n");
    EXPECT_EQ(
        cli({"report", file, "--class", "0.5", "--rated-primary", "600", "-f", "json"}).exitCode,
        0);
    // Without a rated primary a table's records cannot be judged.
    const CliRun unrated = cli({"report", file, "--class", "0.5", "-f", "csv"});
    EXPECT_EQ(unrated.exitCode, 0);
    EXPECT_EQ(unrated.out.count("not evaluated,no rated primary current"), 2);

    for (const QStringList& bad :
         {QStringList{"report", file, "-f", "csv"},
          {"report", file, "--class", "0.3", "-f", "csv"},
          {"report", file, "--class", "0.5"},
          {"report", file, "--class", "0.5", "-f", "csv", "--rating-factor", "130"},
          {"report", file, "--class", "0.5", "-f", "csv", "--rated-primary", "0"},
          {"download", "--class", "0.5"}})
        EXPECT_EQ(cli(bad).exitCode, 2) << bad.join(' ').toStdString();

    // From the instrument: each record judged against its own set primary.
    test::SimProcess sim({"--records", "40", "--seed", "3", "--no-line-delay"});
    ASSERT_TRUE(sim.started);
    const CliRun live = cli({"report", "--device", QString::fromStdString(sim.path()), "--class",
                             "5", "-f", "csv", "-q"});
    EXPECT_EQ(live.exitCode, 0) << live.err.toStdString();
    EXPECT_EQ(live.out.count('\n'), 41);
    EXPECT_EQ(live.out.count(",fail,"), 0);
    EXPECT_GT(live.out.count(",pass,"), 0);
}

// Each live reading with its time: the window's texts, or numbers as the
// record export has them (a CSV header first).
TEST(Cli, LiveReadingsInEveryFormat) {
    test::SimProcess sim({});
    ASSERT_TRUE(sim.started);
    const QString device = QString::fromStdString(sim.path());
    const QString time =
        QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d)");

    const CliRun text = cli({"live", "-d", device, "--count", "2"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QRegularExpression window(QStringLiteral("^") + time +
                                    QStringLiteral(" \\| 1st R \\S+ S - - - - T - - - - \\| 2nd R "
                                                   "\\S+A S \\S+A T \\S+A \\| F\\.Er R \\S+% S "
                                                   "0\\.0% T 0\\.0% \\| Set:600/5A Rat:\\d+/5A$"));
    for (const QByteArray& line : text.out.trimmed().split('\n'))
        EXPECT_TRUE(window.match(QString::fromUtf8(line)).hasMatch()) << line.toStdString();

    QTemporaryDir folder;
    const QString csvFile = folder.filePath(QStringLiteral("live.csv"));
    const CliRun csv = cli({"live", "-d", device, "--count", "2", "-f", "csv", "-o", csvFile});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_TRUE(csv.out.isEmpty());
    QFile written(csvFile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = written.readAll().trimmed().split('\n');
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].trimmed(),
              "time,channel,primary_A,secondary_R_A,secondary_S_A,secondary_T_A,ratio_error_"
              "percent,set_primary_A,rated_secondary_A,measured_ratio_primary_A,hv_battery_low,lv_"
              "battery_low,status");
    const QRegularExpression row(
        QStringLiteral("^") + time +
        QStringLiteral(",R,\\d+\\.\\d,1\\.\\d{3},1\\.\\d{3},1\\.\\d{3},-?\\d+"
                       "\\.\\d,600,5\\.0,\\d+,false,false,$"));
    for (int i = 1; i < 3; ++i)
        EXPECT_TRUE(row.match(QString::fromUtf8(rows[i].trimmed())).hasMatch())
            << rows[i].toStdString();

    const CliRun json = cli({"live", "--device", device, "--count", "2", "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    for (const QByteArray& line : json.out.trimmed().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        EXPECT_TRUE(QRegularExpression(time).match(o["time"].toString()).hasMatch());
        EXPECT_EQ(o["channel"].toString(), "R") << line.toStdString();
        EXPECT_EQ(o["set_primary_A"].toInt(), 600) << line.toStdString();
        EXPECT_DOUBLE_EQ(o["rated_secondary_A"].toDouble(), 5.0) << line.toStdString();
        for (const char* column : {"primary_A", "secondary_R_A", "secondary_S_A", "secondary_T_A",
                                   "ratio_error_percent", "measured_ratio_primary_A"})
            EXPECT_TRUE(o[column].isDouble()) << column << " " << line.toStdString();
        EXPECT_EQ(o["hv_battery_low"], false);
    }
}

TEST(Cli, FieldsAreQuotedOnlyWhereTheyMustBe) {
    const struct {
        const char* text;
        const char* csv;
        const char* json;
    } cases[] = {
        {"1.000A", "1.000A", "\"1.000A\""},
        {"a,b", "\"a,b\"", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\"", "\"say \\\"x\\\"\""},
        {"two\r\nlines", "\"two\r\nlines\"", "\"two\\u000d\\u000alines\""},
        {"back\\slash", "back\\slash", "\"back\\\\slash\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(csvField(c.text), c.csv) << c.text;
        EXPECT_EQ(jsonString(c.text), c.json) << c.text;
    }
}

// --output writes a regular file or a new one, through the user's own links
// only, and says before reading the instrument when it cannot.
TEST(Cli, OutputGoesOnlyWhereAFileMay) {
    test::SimProcess sim({"--records", "5", "--no-line-delay"});
    ASSERT_TRUE(sim.started);
    const QString device = QString::fromStdString(sim.path());
    const std::string table = RecordTable::tableText(storeOf(5, 1), 1, 3500) + "\r\n";
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        const CliRun run = cli({"download", "--device", device, "--output",
                                QString::fromStdString(target.path), "--quiet"});
        if (target.writeRefusal == nullptr) {
            EXPECT_EQ(run.exitCode, 0) << target.kind << ": " << run.err.toStdString();
            QFile written(QString::fromStdString(target.writtenAt));
            ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << target.kind;
            EXPECT_EQ(written.readAll().toStdString(), table) << target.kind;
            continue;
        }
        EXPECT_EQ(run.exitCode, 1) << target.kind;
        EXPECT_TRUE(run.err.startsWith(
            QString::fromStdString("travenor-cli: cannot write " + target.path + ": ")))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(target.writeRefusal))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        EXPECT_EQ(place.snapshot(), before) << target.kind;
    }
    const CliRun dash = cli({"download", "--device", device, "--output", "-"});
    EXPECT_EQ(dash.exitCode, 0);
    EXPECT_EQ(dash.out.toStdString(), table);
}

// Every failure exits non-zero with one line that says why.
TEST(Cli, NoFailureExitsZero) {
    const auto device = [](const test::SimProcess& sim) {
        return QString::fromStdString(sim.path());
    };
    {
        test::SimProcess sim({"--records", "5", "--no-line-delay"});
        ASSERT_TRUE(sim.started);
        const CliRun full = cli({"download", "--device", device(sim)}, {}, [](QProcess& p) {
            p.setStandardOutputFile(QStringLiteral("/dev/full"));
        });
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_EQ(full.err,
                  "travenor-cli: cannot write standard output: No space left on device\n");

        // Into a pipe whose reader has gone.
        QProcess closed;
        closed.start(QStringLiteral("bash"),
                     {"-c", "\"$0\" live --device \"$1\" | head -c 0; exit ${PIPESTATUS[0]}",
                      QStringLiteral(TRAVENOR_CLI_PATH), device(sim)});
        ASSERT_TRUE(closed.waitForFinished(20000));
        EXPECT_EQ(closed.exitCode(), 1);
        EXPECT_EQ(closed.readAllStandardError(),
                  "travenor-cli: cannot write standard output: Broken pipe\n");
    }
    // Counts the store cannot hold, and an instrument that ends early.
    const struct {
        const char* count;
        const char* records;
        const char* said;
        int lines;  // record lines in the table
    } shortEnds[] = {
        {"4001", "4001",
         "Read stopped after record 4000 of 4001: the program holds 4000 records at most. 1 "
         "record was not read.",
         4000},
        {"65535", "4000",
         "Read stopped after record 4000 of 65535: the program holds 4000 records at most. "
         "61535 records were not read.",
         4000},
        {"100", "50",
         "Read stopped after record 50 of 100: the instrument sent no more records. Press Read "
         "to fetch them again.",
         50},
    };
    for (const auto& c : shortEnds) {
        test::SimProcess sim({"--records", c.records, "--count", c.count, "--no-line-delay"});
        ASSERT_TRUE(sim.started);
        const CliRun run = cli({"download", "--device", device(sim)});
        EXPECT_EQ(run.exitCode, 3) << c.count;
        EXPECT_EQ(run.err.toStdString(), std::string("travenor-cli: ") + c.said + "\n");
        EXPECT_EQ(run.out.count("\r\nNO."), c.lines) << c.count;
    }
    // Interrupted: while scanning, and after some live readings.
    const auto interruptWhen = [](const std::function<bool(QProcess&)>& ready) {
        return [ready](QProcess& p) {
            test::waitFor([&] { return ready(p); }, 20000);
            ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        };
    };
    const CliRun scanning =
        cli({"download", "--device", "/nonexistent/ttyUSB9"}, interruptWhen([](QProcess&) {
                test::runFor(300);
                return true;
            }));
    EXPECT_EQ(scanning.exitCode, 130);
    EXPECT_EQ(scanning.err, "travenor-cli: interrupted before an instrument answered\n");
    test::SimProcess sim({});
    ASSERT_TRUE(sim.started);
    QByteArray seen;
    const CliRun live =
        cli({"live", "--device", device(sim), "--count", "10"}, interruptWhen([&](QProcess& p) {
                seen += p.readAllStandardOutput();
                return seen.count('\n') >= 4;
            }));
    EXPECT_EQ(live.exitCode, 130);
    EXPECT_TRUE(live.err.startsWith("travenor-cli: interrupted after ")) << live.err.toStdString();

    // A device another program holds is busy, not silent.
    QtSerialPort holder(
        std::make_unique<FixedPortDirectory>(std::map<int, std::string>{{1, sim.path()}}));
    ASSERT_TRUE(holder.open(1, {}));
    const CliRun busy = cli({"download", "--device", device(sim)});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_TRUE(busy.err.contains(QStringLiteral("is busy"))) << busy.err.toStdString();
    EXPECT_EQ(busy.err.count(QLatin1Char('\n')), 1) << busy.err.toStdString();
}

}  // namespace
}  // namespace travenor
