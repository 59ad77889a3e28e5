#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QRegularExpression>
#include <QStandardPaths>

#include "platform/QtFileDialogs.h"
#include "platform/QtFileSystem.h"
#include "records/Printing.h"
#include "records/RecordFiles.h"
#include "support/RecordFilesFixture.h"

namespace travenor {
namespace {

using test::bytesOf;
using test::emptyTable;
using test::RecordFilesTest;
using test::writeBytes;

// The patterns Qt reads from a filter: those in its last brackets.
QStringList patternsOf(const QString& filter) {
    const auto match = QRegularExpression(QStringLiteral("\\(([^()]*)\\)$")).match(filter);
    return match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// What is on disk after Save: the table box's text and one CR LF, whatever
// the extension.
TEST_F(RecordFilesTest, SavedBytesAreTheTablePlusOneLineEnd) {
    save(pathOf("cleared.txt"));
    EXPECT_EQ(bytesOf(pathOf("cleared.txt")), emptyTable() + "\r\n");

    start(quietInstrument(30));
    downloadAll();
    const std::string expected = RecordTable::tableText(app->store(), 1, 3500) + "\r\n";
    ASSERT_NE(expected.find("NO.0030"), std::string::npos);
    save(pathOf("records.txt"));
    save(pathOf("records.doc"));
    EXPECT_EQ(bytesOf(pathOf("records.txt")), expected);
    EXPECT_EQ(bytesOf(pathOf("records.doc")), expected);
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(RecordFilesTest, OpenShowsTheSavedTableWithOneMoreEmptyLineAndEachSaveAddsOne) {
    start(quietInstrument(5));
    downloadAll();
    const std::string table = t("RichTextBox1");
    const std::string buffer = t("RichTextBox2");
    save(pathOf("a.txt"));
    open(pathOf("a.txt"));
    EXPECT_EQ(t("RichTextBox1"), table + "\r\n");
    EXPECT_EQ(t("RichTextBox2"), buffer);  // the print buffer is not touched
    save(pathOf("a.txt"));
    EXPECT_EQ(bytesOf(pathOf("a.txt")), table + "\r\n\r\n");
}

// Open never loses a byte: text valid in the system's encoding shows as it
// means, bytes that are not show one character each; the file is not changed.
TEST_F(RecordFilesTest, EightBitTextIsShownWithoutLoss) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string shown;  // UTF-8
    };
    // Linux writes UTF-8; Windows (and Wine) the ANSI code page, 1252 here.
    const std::vector<Case> utf8 = {
        {"ASCII", "NO.0001  1.000A\r\n", "NO.0001  1.000A\r\n"},
        {"valid in the system encoding", "caf\xC3\xA9 \xE5\x8D\x97\r\n",
         "caf\xC3\xA9 \xE5\x8D\x97\r\n"},
        {"an 8-bit file from elsewhere", "caf\xE9\r\n", "caf\xC3\xA9\r\n"},
        {"bytes valid nowhere", std::string("\x80\xFF\x00z", 4),
         std::string("\xC2\x80\xC3\xBF\x00z", 6)},
    };
    const std::vector<Case> windows1252 = {
        {"ASCII", "NO.0001  1.000A\r\n", "NO.0001  1.000A\r\n"},
        {"valid in the system encoding", "caf\xE9 \x80\r\n", "caf\xC3\xA9 \xE2\x82\xAC\r\n"},
        {"bytes 1252 leaves out", std::string("\x81\x00z", 3), std::string("\xC2\x81\x00z", 4)},
    };
    const bool isUtf8 = fromSystemBytes("\xC3\xA9") == "\xC3\xA9";
    if (!isUtf8) {
        ASSERT_EQ(fromSystemBytes("\x80"), "\xE2\x82\xAC") << "not code page 1252";
    }
    for (const Case& c : isUtf8 ? utf8 : windows1252) {
        writeBytes(pathOf("in.txt"), c.bytes);
        open(pathOf("in.txt"));
        EXPECT_EQ(t("RichTextBox1"), c.shown) << c.what;
        EXPECT_EQ(bytesOf(pathOf("in.txt")), c.bytes) << c.what;
    }
}

// Open then Save writes back the very bytes read, and the one CR LF Save
// adds, even those the box shows otherwise; a text changed since is saved as
// the box holds it.
TEST_F(RecordFilesTest, OpenThenSaveKeepsEveryByte) {
    const std::pair<const char*, std::string> cases[] = {
        {"8-bit text", "NO.0001 caf\xE9 \xB0\xB5\r\n"},
        {"bytes valid nowhere", std::string("\x80\xFF\x00z\r\n", 6)},
        {"a no-break space",
         "a\xC2\xA0"
         "b\r\n"},
        {"LF line ends", "one\ntwo\n"},
        {"a table saved twice", emptyTable() + "\r\n\r\n"},
    };
    for (const auto& [what, bytes] : cases) {
        writeBytes(pathOf("in.txt"), bytes);
        open(pathOf("in.txt"));
        save(pathOf("out.txt"));
        EXPECT_EQ(bytesOf(pathOf("out.txt")), bytes + "\r\n") << what;
    }
    window().setText("RichTextBox1", "typed\r\n");
    save(pathOf("out.txt"));
    EXPECT_EQ(bytesOf(pathOf("out.txt")), "typed\r\n\r\n");
    EXPECT_TRUE(messages->shown.empty());
}

// Open puts a table's records into the store, so Print prints what is
// shown; a file that is no table is shown, and Print says there is nothing
// to print without wiping it; a damaged line is told.
TEST_F(RecordFilesTest, AnOpenedTableIsWhatPrintPrints) {
    const std::string line5 =
        "NO.0005    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R";
    const std::string line27 =
        "NO.0027        OL    0.000A      0.000A     0.000A     --%     ---/5A     - -";
    const std::string table = emptyTable() + line5 + "\r\n" + line27 + "\r\n";
    const struct {
        const char* what;
        std::string bytes;
        std::string printed;  // empty: Print says there is nothing to print
        const char* told;     // what Open says, if anything
    } cases[] = {
        {"a saved table", table + "\r\n", table, nullptr},
        {"LF ends", emptyTable() + line5 + "\n", emptyTable() + line5 + "\r\n", nullptr},
        {"a damaged line", table + "   NO.0007   1.000A\r\n", table,
         "The file is shown, but 1 line of it holds no record; printing leaves it out:\r\n"
         "line 5: it holds 1 field, not 7"},
        {"no table", "Dear Sir,\r\n" + line5 + "\r\n", "", nullptr},
    };
    for (const auto& c : cases) {
        messages->shown.clear();
        printer->printed.clear();
        writeBytes(pathOf("old.txt"), c.bytes);
        open(pathOf("old.txt"));
        const std::string shown = t("RichTextBox1");
        ASSERT_EQ(messages->shown.size(), c.told ? 1u : 0u) << c.what;
        if (c.told) {
            EXPECT_EQ(messages->shown[0].first, c.told) << c.what;
        }
        messages->shown.clear();
        ASSERT_TRUE(app->printing().acceptRange(true, "", "") == std::nullopt);
        app->printing().printRequestCheck();
        if (c.printed.empty()) {
            EXPECT_TRUE(printer->printed.empty()) << c.what;
            ASSERT_EQ(messages->shown.size(), 1u) << c.what;
            EXPECT_EQ(messages->shown[0].first, Printing::NOTHING_TO_PRINT);
            EXPECT_EQ(t("RichTextBox1"), shown) << c.what;
        } else {
            ASSERT_EQ(printer->printed.size(), 1u) << c.what;
            EXPECT_EQ(printer->printed[0], c.printed) << c.what;
            EXPECT_TRUE(messages->shown.empty()) << c.what;
        }
    }
    // Clear empties what Open filled.
    app->runCommand(Command::Clear);
    EXPECT_EQ(t("RichTextBox1"), emptyTable());
}

TEST_F(RecordFilesTest, ACancelledDialogChangesNothing) {
    window().setText("RichTextBox1", "shown before\r\n");
    dialogs->answer.reset();
    app->runCommand(Command::Save);
    app->runCommand(Command::Open);
    EXPECT_EQ(dialogs->asked.size(), 2u);
    EXPECT_EQ(t("RichTextBox1"), "shown before\r\n");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(RecordFilesTest, AFileThatCannotBeReadSaysSoAndChangesNothing) {
    window().setText("RichTextBox1", "shown before\r\n");
    QDir(place.path()).mkdir(QStringLiteral("folder"));
    for (const char* name : {"missing.txt", "folder"}) {
        messages->shown.clear();
        open(pathOf(name));
        EXPECT_EQ(t("RichTextBox1"), "shown before\r\n") << name;
        ASSERT_EQ(messages->shown.size(), 1u) << name;
        EXPECT_EQ(messages->shown[0].second, "Open");
        EXPECT_EQ(messages->shown[0].first.rfind(
                      "The file could not be opened:\r\n" + pathOf(name).toStdString() + "\r\n", 0),
                  0u);
    }
    // Files of a table's size that would freeze the box for seconds, and the
    // largest it shows.
    const std::string longest(RecordFiles::LONGEST_LINE, 'y');
    std::string most;
    for (std::size_t n = 0; n < RecordFiles::MOST_LINES; ++n) most += "z\r\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* refusal;
    } sizes[] = {
        {"long-line.txt", longest + "y\r\n", "a line of it holds more than 16384 characters"},
        {"lf-line.txt", longest + "y\n", "a line of it holds more than 16384 characters"},
        {"many-lines.txt", most + "z", "it holds more than 100000 lines"},
        {"longest-line.txt", longest + "\r\n", nullptr},
        {"most-lines.txt", most, nullptr},
    };
    for (const auto& c : sizes) {
        window().setText("RichTextBox1", "shown before\r\n");
        messages->shown.clear();
        writeBytes(pathOf(c.name), c.bytes);
        open(pathOf(c.name));
        if (c.refusal == nullptr) {
            EXPECT_EQ(t("RichTextBox1"), c.bytes) << c.name;
            continue;
        }
        EXPECT_EQ(t("RichTextBox1"), "shown before\r\n") << c.name;
        ASSERT_EQ(messages->shown.size(), 1u) << c.name;
        EXPECT_NE(messages->shown[0].first.find(c.refusal), std::string::npos)
            << messages->shown[0].first;
    }
}

// Both dialogs start in the program's folder with "TALVIKS" and the date, and
// with their own filters, exactly as written.
TEST_F(RecordFilesTest, DialogsStartWithThePresetNameAndTheirFilters) {
    app->runCommand(Command::Open);
    app->runCommand(Command::Save);
    std::string date =
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    std::replace(date.begin(), date.end(), '/', '-');
    const std::string preset = folder.path().toStdString() + "/TALVIKS" + date;
    ASSERT_EQ(dialogs->asked.size(), 2u);
    EXPECT_EQ(dialogs->asked[0], "open " + preset +
                                     " All Files (*.*)|*.*|Text Files(*.txt)|*.txt|DOC Files "
                                     "(*.doc)|*.doc");
    EXPECT_EQ(dialogs->asked[1],
              "save " + preset + " Text Files(*.txt)|*.txt|doc Files (*.doc)|*.doc");
}

TEST(PresetFile, DatesBecomeOneFileNameAndAnUnwritableFolderGivesWayToDocuments) {
    const struct {
        const char* date;
        const char* path;
    } cases[] = {
        {"12/9/26", "/f/TALVIKS12-9-26"},
        {"09.12.26", "/f/TALVIKS09.12.26"},
        {"2026\\12\\09", "/f/TALVIKS2026-12-09"},
        {"2026-12-09", "/f/TALVIKS2026-12-09"},
    };
    for (const auto& c : cases) EXPECT_EQ(presetFilePath("/f", c.date), c.path) << c.date;

    test::RecordedMessages unused;
    ApplicationOptions options;
    options.programFolder = "/no/such/folder";
    auto dialogs = std::make_shared<test::ScriptedDialogs>();
    options.fileDialogs = dialogs;
    Application app(std::make_unique<sim::SimPort>(
                        std::make_unique<sim::InstrumentModel>(sim::Config{}), 3, false),
                    std::move(options));
    app.runCommand(Command::Save);
    ASSERT_EQ(dialogs->asked.size(), 1u);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(dialogs->asked[0].rfind("save " + documents.toStdString() + "/TALVIKS", 0), 0u)
        << dialogs->asked[0];
}

// The preset of a locale with dotted short dates keeps its date and still
// ends in the chosen type's extension; a name typed with .txt or .doc keeps
// it.
TEST(FileFilters, SaveAlwaysEndsInTheChosenExtension) {
    const std::string dotted =
        QLocale(QLocale::German, QLocale::Germany)
            .toString(QDate(2026, 12, 9), QLocale::ShortFormat)
            .toStdString();
    ASSERT_EQ(dotted, "09.12.26");
    const struct {
        std::string chosen;
        const char* suffix;
        std::string saved;
    } cases[] = {
        {presetFilePath("/home/u", dotted), "txt", "/home/u/TALVIKS09.12.26.txt"},
        {presetFilePath("/home/u", dotted), "doc", "/home/u/TALVIKS09.12.26.doc"},
        {"/home/u/records.txt", "doc", "/home/u/records.txt"},
        {"/home/u/RECORDS.DOC", "txt", "/home/u/RECORDS.DOC"},
        {"/home/u/records.csv", "txt", "/home/u/records.csv.txt"},
        {"/home/u.v/records", "txt", "/home/u.v/records.txt"},
        {"C:\\Users\\u\\TALVIKS09.12.26", "txt", "C:\\Users\\u\\TALVIKS09.12.26.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(withSaveExtension(c.chosen, c.suffix), c.saved) << c.chosen;
}

TEST(FileFilters, EntriesAreSplitInPairsAndShownAsWritten) {
    EXPECT_EQ(filterEntries(RecordFiles::OPEN_FILTER),
              (std::vector<FileFilter>{{"All Files (*.*)", "*.*"},
                                       {"Text Files(*.txt)", "*.txt"},
                                       {"DOC Files (*.doc)", "*.doc"}}));
    EXPECT_EQ(
        filterEntries(RecordFiles::SAVE_FILTER),
        (std::vector<FileFilter>{{"Text Files(*.txt)", "*.txt"}, {"doc Files (*.doc)", "*.doc"}}));
    EXPECT_EQ(filterEntries("Lonely"), std::vector<FileFilter>{});
    EXPECT_EQ(filterEntries(""), std::vector<FileFilter>{});

    // In Qt's dialog the names read exactly as given, and "*.*" lists every
    // file, names without a dot too.
    QTemporaryDir place;
    auto dialog = makeFileDialog(nullptr, false, place.filePath("TALVIKS").toStdString(),
                                 RecordFiles::OPEN_FILTER);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
    EXPECT_EQ(shown, (QStringList{"All Files (*.*)", "Text Files(*.txt)", "DOC Files (*.doc)"}));
    const QStringList all = patternsOf(dialog->nameFilters()[0]);
    EXPECT_TRUE(QDir::match(all, QStringLiteral("README")));
    EXPECT_TRUE(QDir::match(all, QStringLiteral("a.doc")));
    const QStringList text = patternsOf(dialog->nameFilters()[1]);
    EXPECT_FALSE(QDir::match(text, QStringLiteral("README")));
    EXPECT_TRUE(QDir::match(text, QStringLiteral("a.txt")));

    auto saving = makeFileDialog(nullptr, true, place.filePath("TALVIKS").toStdString(),
                                 RecordFiles::SAVE_FILTER);
    EXPECT_EQ(saving->defaultSuffix(), "txt");
    saving->selectNameFilter(saving->nameFilters()[1]);
    emit saving->filterSelected(saving->nameFilters()[1]);
    EXPECT_EQ(saving->defaultSuffix(), "doc");
}

}  // namespace
}  // namespace travenor
