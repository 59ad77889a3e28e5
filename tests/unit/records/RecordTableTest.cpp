#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/QtFileSystem.h"
#include "records/RecordLine.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/FakeFileSystem.h"
#include "support/FakeViews.h"
#include "support/RecordOfTexts.h"

namespace travenor {
namespace {

const std::string TITLE = std::string(44, ' ') + "Travenor\r\n";
const std::string HEADER =
    "    NO.       Ih       Ir          Is         It      F.Er     Ratio      CH                "
    "\r\n";

Record sample(int n) {
    return test::recordOf({std::to_string(n) + "A", "1.000A", "1.000A", "1.000A", "+0.1%", "600/5A",
                           static_cast<std::int16_t>(n % 3)});
}

struct RecordTableTest : ::testing::Test {
    RecordStore store;
    test::FakeViews views;
    test::FakeFileSystem files;
    RecordTable table{store, views, files, "/opt/travenor"};

    std::string line(int n) { return *recordLine(store, n) + "\r\n"; }
};

TEST_F(RecordTableTest, EmptyTableIsTitleAndHeader) {
    table.clearRecords();
    EXPECT_EQ(HEADER.size(), 94u);
    EXPECT_EQ(views.table, TITLE + HEADER);
    EXPECT_EQ(views.print, TITLE + HEADER);
}

TEST_F(RecordTableTest, DisplayAndPrintBuilds) {
    table.clearRecords();
    for (int n = 1; n <= 3; ++n) store.store(n, sample(n));
    table.showTable();
    const std::string full = TITLE + HEADER + line(1) + line(2) + line(3);
    EXPECT_EQ(views.table, full);
    EXPECT_EQ(views.print, full);

    // Print builds fill the print buffer only.
    table.printBuffer(5, 3);
    EXPECT_EQ(views.print, TITLE + HEADER);
    EXPECT_EQ(views.table, full);
    table.printBuffer(2, 3);
    EXPECT_EQ(views.print, TITLE + HEADER + line(2) + line(3));

    // One bound 0: display mode with the other bound kept.
    table.printBuffer(0, 2);
    EXPECT_EQ(views.table, TITLE + HEADER + line(1) + line(2));
}

TEST_F(RecordTableTest, SlotsBeyondTheDefaultRangeAndTheStore) {
    // Never stored: blanks and "R"; Clear empties them.
    table.printBuffer(3501, 3502);
    const std::string blank = std::string(67, ' ') + "R\r\n";
    EXPECT_EQ(views.print, TITLE + HEADER + "NO.3501" + blank + "NO.3502" + blank);
    table.clearRecords();
    table.printBuffer(3501, 3503);
    EXPECT_EQ(views.print, TITLE + HEADER);
    store.store(3999, sample(3999));
    store.store(4000, sample(4000));
    table.printBuffer(3999, 4002);
    EXPECT_EQ(views.print, TITLE + HEADER + line(3999) + line(4000));
    table.printBuffer(-5, 0);
    EXPECT_EQ(views.table, TITLE + HEADER + line(3999) + line(4000));
}

TEST_F(RecordTableTest, ScratchFileIsWrittenReadAndRemoved) {
    table.clearRecords();
    files.log.clear();
    table.showTable();
    const std::string path = "/opt/travenor/lishi.txt";
    EXPECT_EQ(files.log, (std::vector<std::string>{"scratch " + path}));
}

TEST_F(RecordTableTest, UnwritableFolderStillShowsTheTable) {
    files.writable = false;
    table.clearRecords();
    store.store(1, sample(1));
    table.showTable();
    EXPECT_EQ(views.table, TITLE + HEADER + line(1));
    EXPECT_EQ(views.print, TITLE + HEADER + line(1));
}

// Records up to 4000 are shown (and so saved); Clear empties every slot.
TEST_F(RecordTableTest, TheTableHoldsEveryRecordAndClearEmptiesEverySlot) {
    table.clearRecords();
    store.store(3600, sample(3600));
    store.store(4000, sample(4000));
    store.store(20, sample(20));
    table.showTable();
    EXPECT_EQ(views.table, TITLE + HEADER + line(20) + line(3600) + line(4000));
    for (int n = 3501; n <= 4000; ++n) store.store(n, sample(n));
    table.clearRecords();
    for (const int n : {0, 20, 3500, 3501, 3600, 4000}) EXPECT_TRUE(store.isEmpty(n)) << n;
    EXPECT_EQ(views.table, TITLE + HEADER);
}

// The real file layer in a real folder: no lishi.txt is left behind, an old
// one is replaced, and a folder that cannot be written still gives the table.
TEST(RecordTableFiles, RealFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RecordStore store;
    test::FakeViews views;
    QtFileSystem files;
    RecordTable table(store, views, files, dir.path().toStdString());
    const QString scratch = dir.filePath(QStringLiteral("lishi.txt"));
    {
        QFile stale(scratch);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("left over");
    }
    table.clearRecords();
    store.store(1, sample(1));
    table.showTable();
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_EQ(views.table, TITLE + HEADER + *recordLine(store, 1) + "\r\n");

    RecordTable nowhere(store, views, files,
                        dir.filePath(QStringLiteral("missing/folder")).toStdString());
    views.table.clear();
    nowhere.showTable();
    EXPECT_EQ(views.table, TITLE + HEADER + *recordLine(store, 1) + "\r\n");
}

}  // namespace
}  // namespace travenor
