#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "records/RecordExport.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/CliRun.h"
#include "support/FieldRecord.h"
#include "support/SimProcess.h"

namespace travenor {
namespace {

using test::fieldRecord;

// Records of known verdicts against class 0.5 at 600/5A, and the report's
// row for each: number, phase, primary, ratio error, % of rated, limit,
// verdict, reason.
struct Known {
    int number;
    Record record;
    const char* row[8];
};

const std::vector<Known>& knownRecords() {
    static const std::vector<Known> known = {
        {1, fieldRecord(0, 6000, 5), {"1", "R", "600.0", "0.5", "100.0", "0.5000", "pass", ""}},
        {2, fieldRecord(0, 1200, -7), {"2", "R", "120.0", "-0.7", "20.0", "0.7500", "pass", ""}},
        {3, fieldRecord(0, 3600, 7), {"3", "R", "360.0", "0.7", "60.0", "0.6250", "fail", ""}},
        {4, fieldRecord(0, 300, -15), {"4", "R", "30.0", "-1.5", "5.0", "1.5000", "pass", ""}},
        {5, fieldRecord(0, 7200, -6), {"5", "R", "720.0", "-0.6", "120.0", "0.5000", "fail", ""}},
        {6,
         fieldRecord(0, 120, 3),
         {"6", "R", "12.0", "0.3", "2.0", "-", "not evaluated", "below 5 % of rated current"}},
        {7, fieldRecord(1, 3000, 4), {"7", "S", "300.0", "0.4", "50.0", "0.6563", "pass", ""}},
        {8,
         fieldRecord(1, 6000, std::nullopt),
         {"8", "S", "600.0", "-", "100.0", "-", "not evaluated", "no ratio error"}},
        {9,
         fieldRecord(3, 6000, 1),
         {"9", "-", "600.0", "0.1", "-", "-", "not evaluated", "no phase"}},
    };
    return known;
}

QString write(const QTemporaryDir& folder, const char* name, const std::string& bytes) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// The text of the PDF as pdftotext lays it out, and its page count.
QString textOf(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

int pagesOf(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool holdsLine(const QString& text, const QStringList& cells) {
    QStringList escaped;
    for (const QString& cell : cells) escaped << QRegularExpression::escape(cell);
    return text.contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*") +
                                            escaped.join(QStringLiteral("\\s+")) +
                                            QStringLiteral("\\s*(\\n|$)")));
}

void expectEveryRecordRow(const QString& text) {
    for (const Known& k : knownRecords()) {
        QStringList cells;
        for (const char* cell : k.row)
            if (*cell != '\0') cells << QString::fromLatin1(cell);
        EXPECT_TRUE(holdsLine(text, cells)) << "no row " << cells.join(' ').toStdString();
    }
}

// A report from a CSV export: its heading, the summary, one chart per
// measured phase where it belongs on the page, every record's row, page k
// of n; exit 5 for the two failed records.
TEST(Report, AsPdfFromAnExport) {
    QTemporaryDir folder;
    RecordStore store;
    store.markAllEmpty();
    for (const Known& k : knownRecords()) store.store(k.number, k.record);
    const QString csv = write(folder, "records.csv", exportRecords(store, ExportFormat::Csv));
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    const CliRun made = cli({"report", csv, "--class", "0.5", "-o", pdf});
    ASSERT_EQ(made.exitCode, 5) << made.err.toStdString();

    const QString text = textOf(pdf);
    for (const QStringList& line :
         {QStringList{"Ratio error test report"},
          {"Source", "file records.csv"},
          {"Accuracy class", "0.5 (IEC 61869-2, limits of ratio error)"},
          {"Rated primary current", "600 A, the set ratio's"},
          {"Rated secondary current", "5.0 A"},
          {"Rating factor", "120 % of rated current"},
          {"R", "6", "3", "2", "1", "-1.5 % at 5.0 % of rated (30.0 A, record 4)"},
          {"S", "2", "1", "0", "1", "0.4 % at 50.0 % of rated (300.0 A, record 7)"},
          {"T", "0", "0", "0", "0"},
          {"none", "1", "0", "0", "1"},
          {"all", "9", "4", "2", "3"},
          {"Verdict: 2 of 6 evaluated records fail class 0.5."}})
        EXPECT_TRUE(holdsLine(text, line)) << line.join(' ').toStdString() << "\n"
                                           << text.toStdString();
    EXPECT_TRUE(text.contains(
        QRegularExpression(QStringLiteral("Date\\s+\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"))));
    EXPECT_TRUE(text.contains(QLatin1String("does not measure phase displacement")));
    EXPECT_TRUE(text.contains(QLatin1String("Phase R: ratio error against current")));
    EXPECT_TRUE(text.contains(QLatin1String("Phase S: ratio error against current")));
    EXPECT_FALSE(text.contains(QLatin1String("Phase T:")));
    expectEveryRecordRow(text);
    const int pages = pagesOf(pdf);
    ASSERT_GE(pages, 2);
    for (int k = 1; k <= pages; ++k)
        EXPECT_TRUE(text.contains(QStringLiteral("page %1 of %2").arg(k).arg(pages))) << k;

    // Page 1 as pixels: phase R's limits and marks where its axes put them.
    QString points;
    for (const Known& k : knownRecords())
        if (k.record.channel == 0 && k.row[6] != std::string("not evaluated"))
            points += QStringLiteral("%1[%2, %3, \"%4\"]")
                          .arg(points.isEmpty() ? "" : ", ", k.row[4], k.row[3], k.row[6]);
    const QString spec = QStringLiteral(
                             R"({"phase": "R", "factor": 120, "envelope": [[5, 1.5], [20, 0.75],
                                 [100, 0.5], [120, 0.5]], "points": [%1]})")
                             .arg(points);
    QProcess check;
    check.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(TRAVENOR_SOURCE_DIR "/tests/e2e/report_check.py"), pdf,
                 QDir::current().filePath(QStringLiteral("report-page-1.png")), spec});
    ASSERT_TRUE(check.waitForFinished(60000));
    const QString said = QString::fromUtf8(check.readAll() + check.readAllStandardError());
    EXPECT_EQ(check.exitCode(), 0) << said.toStdString();
    std::printf("%s", qPrintable(said));
}

// A saved table does not show the set primary: judged with --rated-primary,
// the same verdicts; without it none can be judged. Letter paper where the
// locale uses it.
TEST(Report, FromASavedTableAndOnThePaperOfTheLocale) {
    QTemporaryDir folder;
    RecordStore store;
    store.markAllEmpty();
    for (const Known& k : knownRecords()) store.store(k.number, k.record);
    const QString table =
        write(folder, "saved.txt", RecordTable::tableText(store, 1, RecordStore::LAST_SLOT));
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));

    ASSERT_EQ(
        cli({"report", table, "--class", "0.5", "--rated-primary", "600", "-o", pdf}).exitCode, 5);
    const QString rated = textOf(pdf);
    EXPECT_TRUE(holdsLine(rated, {"Rated primary current", "600 A"}));
    expectEveryRecordRow(rated);

    ASSERT_EQ(cli({"report", table, "--class", "0.5", "-o", pdf}).exitCode, 0);
    const QString unrated = textOf(pdf);
    EXPECT_TRUE(holdsLine(unrated, {"Rated primary current", "unknown"}));
    EXPECT_EQ(unrated.count(QLatin1String("no rated primary current")), 8);

    const struct {
        const char* locale;
        const char* size;
    } papers[] = {{"en_US.UTF-8", "612 x 792 pts (letter)"},
                  {"de_DE.UTF-8", "595 x 842 pts (A4)"},
                  {"C", "595 x 842 pts (A4)"}};
    for (const auto& paper : papers) {
        const CliRun made =
            cli({"report", table, "--class", "0.5", "-o", pdf}, {}, [&paper](QProcess& process) {
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert(QStringLiteral("LC_ALL"), QLatin1String(paper.locale));
                process.setProcessEnvironment(env);
            });
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QLatin1String(paper.size)))
            << paper.locale;
    }

    // A verdict of class 0.1 rests on the ratio error's last digit: said so.
    for (const char* name : {"0.1", "0.2"}) {
        cli({"report", table, "--class", name, "--rated-primary", "600", "-o", pdf});
        EXPECT_EQ(textOf(pdf).contains(QLatin1String("no coarser than that")),
                  name == std::string("0.1"))
            << name;
    }
}

// The whole way, from the instrument: a report of every record, one row
// each, and the usage errors of a PDF report.
TEST(Report, FromTheInstrument) {
    test::SimProcess sim({"--records", "150", "--seed", "5", "--no-line-delay"});
    ASSERT_TRUE(sim.started);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    const CliRun made = cli({"report", "--class", "0.5", "--device",
                             QString::fromStdString(sim.path()), "-q", "-o", pdf});
    EXPECT_TRUE(made.exitCode == 0 || made.exitCode == 5) << made.err.toStdString();
    const QString text = textOf(pdf);
    EXPECT_TRUE(holdsLine(text, {"Source", "instrument on " + QString::fromStdString(sim.path())}));
    for (int n = 1; n <= 150; ++n)
        EXPECT_TRUE(
            text.contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s+[RST-]\\s").arg(n))))
            << "no row of record " << n;
    const int pages = pagesOf(pdf);
    EXPECT_GE(pages, 4);
    EXPECT_TRUE(text.contains(QStringLiteral("page %1 of %1").arg(pages)));

    for (const QStringList& bad :
         {QStringList{"report", "--class", "0.5", "--device", QString::fromStdString(sim.path())},
          {"report", "--class", "0.5", "-f", "table", "-o", pdf},
          {"download", "-f", "pdf"}})
        EXPECT_EQ(cli(bad).exitCode, 2) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace travenor
