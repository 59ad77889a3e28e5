#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/RecordExport.h"
#include "format/FillText.h"
#include "link/DecodedReply.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "sim/InstrumentModel.h"
#include "support/SimProcess.h"

namespace travenor {
namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
    double seconds = 0;
};

CliRun cli(const QStringList& args) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(TRAVENOR_CLI_PATH), args);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.seconds = clock.nsecsElapsed() / 1e9;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

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

    const CliRun csv = cli({"download", "--device", device, "--format", "csv", "--quiet"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QList<QByteArray> lines = csv.out.split('\n');
    ASSERT_GE(lines.size(), 502);
    EXPECT_EQ(lines[0], "NO,Ih,Ir,Is,It,F.Er,Ratio,CH\r");
    for (int n = 1; n <= 500; ++n) {
        const QList<QByteArray> fields = lines[n].trimmed().split(',');
        ASSERT_EQ(fields.size(), 8) << n;
        const Record* r = expected.read(n);
        EXPECT_EQ(fields[0].toInt(), n);
        EXPECT_EQ(fields[1].toStdString(), r->Ih) << n;
        EXPECT_EQ(fields[2].toStdString(), r->Ir) << n;
        EXPECT_EQ(fields[3].toStdString(), r->Is) << n;
        EXPECT_EQ(fields[4].toStdString(), r->It) << n;
        EXPECT_EQ(fields[5].toStdString(), r->FEr) << n;
        EXPECT_EQ(fields[6].toStdString(), r->Ratio) << n;
        EXPECT_EQ(fields[7].toStdString(), channelLetter(r->CH)) << n;
    }

    const CliRun json = cli({"download", "--device", device, "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    QJsonParseError error{};
    const QJsonArray array = QJsonDocument::fromJson(json.out, &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_EQ(array.size(), 500);
    for (int n = 1; n <= 500; ++n) {
        const QJsonObject o = array[n - 1].toObject();
        const Record* r = expected.read(n);
        EXPECT_EQ(o["number"].toInt(), n);
        EXPECT_EQ(o["Ih"].toString().toStdString(), r->Ih) << n;
        EXPECT_EQ(o["F.Er"].toString().toStdString(), r->FEr) << n;
        EXPECT_EQ(o["Ratio"].toString().toStdString(), r->Ratio) << n;
        EXPECT_EQ(o["CH"].toString().toStdString(), channelLetter(r->CH)) << n;
    }
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
    const CliRun none = cli({"download", "--device", "/nonexistent/ttyUSB7"});
    EXPECT_EQ(none.exitCode, 4);
    EXPECT_EQ(none.err.count(QLatin1Char('\n')), 1) << none.err.toStdString();

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
    };
    for (const QStringList& args : cases) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--help"))) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(' ').toStdString();
    }
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part : {"list", "download", "live", "Exit codes", "stopped short"})
        EXPECT_TRUE(help.out.contains(part)) << part;
}

TEST(Cli, LiveReadingsAreTheWindowsTexts) {
    test::SimProcess sim({});
    ASSERT_TRUE(sim.started);
    const CliRun run = cli({"live", "--device", QString::fromStdString(sim.path()), "--count", "3",
                            "--format", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression current(QStringLiteral("^\\d+(\\.\\d+)?m?A$"));
    for (const QByteArray& line : lines) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        EXPECT_EQ(o["set"].toString(), "Set:600/5A") << line.toStdString();
        EXPECT_TRUE(o["ratio"].toString().startsWith("Rat:")) << line.toStdString();
        for (const char* phase : {"R", "S", "T"})
            EXPECT_TRUE(current.match(o["secondary"][phase].toString()).hasMatch())
                << line.toStdString();
        // One phase's primary at a time, the others blank as in the window.
        int shown = 0;
        for (const char* phase : {"R", "S", "T"})
            shown += o["primary"][phase].toString() != "- - - -";
        EXPECT_EQ(shown, 1) << line.toStdString();
        EXPECT_FALSE(o["hvBatteryLow"].toBool());
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

}  // namespace
}  // namespace travenor
