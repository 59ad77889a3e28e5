#include <gtest/gtest.h>

#include <random>

#include "records/RecordLine.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "records/TableReader.h"

namespace travenor {
namespace {

// The title and header lines as Save writes them.
std::string top() {
    return RecordTable::TITLE_LINE + "\r\n" + RecordTable::HEADER_LINE + "\r\n";
}
const std::string LINE_5 =
    "NO.0005    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R";

// Any reading of any range code, markers included.
Current anyCurrent(std::mt19937& random) {
    static constexpr std::uint8_t CODES[] = {0x30, 0x31, 0x32, 0x33, 0x40, 0x41, 0x42, 0x43, 0x04, 0x45};
    const unsigned pick = random() % 20;
    const std::uint16_t count = pick == 0   ? Current::OVERLOAD
                                : pick == 1 ? Current::MEASURING_ERROR
                                            : static_cast<std::uint16_t>(random() % 65536);
    return {count, CODES[random() % std::size(CODES)]};
}

// Every table the program can make reads back to its records: the same
// numbers, values and lines.
TEST(TableReader, EveryTableReadsBackToItsRecords) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 20; ++round) {
        RecordStore store;
        for (int n = 0; n <= RecordStore::LAST_SLOT; ++n) store.markEmpty(n);
        std::vector<int> numbers;
        for (int n = 1; n <= RecordStore::LAST_SLOT; ++n) {
            if (random() % 8 != 0) continue;
            Record record;
            record.slot = Record::Slot::Filled;
            record.primary = anyCurrent(random);
            for (Current& secondary : record.secondary) secondary = anyCurrent(random);
            record.error = {static_cast<std::uint8_t>(random() % 256)};
            record.channel = static_cast<std::int16_t>(random() % 5 == 0 ? random() % 16 : random() % 3);
            record.ratio = {random() % 6 != 0, static_cast<std::int64_t>(random() % 100000),
                            static_cast<std::uint8_t>(random() % 256)};
            if (!record.ratio.inRange) record.ratio.primary = 0;
            store.store(n, record);
            numbers.push_back(n);
        }
        const ReadTable read = readRecordTable(RecordTable::tableText(store, 1, 4000) + "\r\n");
        ASSERT_TRUE(read.isTable);
        EXPECT_EQ(read.unread.size(), 0u) << unreadSummary(read.unread);
        ASSERT_EQ(read.records.size(), numbers.size());
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const auto& [number, record] = read.records[i];
            const Record& stored = *store.read(numbers[i]);
            ASSERT_EQ(number, numbers[i]);
            EXPECT_EQ(recordLine(number, record), recordLine(number, stored));
            EXPECT_EQ(record.primary, stored.primary) << number;
            EXPECT_EQ(record.secondary, stored.secondary) << number;
            EXPECT_EQ(record.error, stored.error) << number;
            EXPECT_EQ(record.ratio, stored.ratio) << number;
            EXPECT_EQ(record.channel, stored.channel >= 0 && stored.channel <= 2 ? stored.channel : 3);
            EXPECT_FALSE(record.setPrimary);
        }
    }
}

// A line that is not one the program writes is told by its number and left
// out; the lines around it are read.
TEST(TableReader, DamagedLinesAreToldAndLeftOut) {
    const struct {
        std::string line;
        const char* reason;
    } cases[] = {
        {"NO.0006    12.30A    4.998A      5.001A     4.997A   -0.2%     600/5A     R",
         "\"12.30A\" is not a current"},
        {"NO.0006    600.0A    4.998A      5.001A     4.997A   -11%     600/5A     R",
         "\"-11%\" is not a ratio error"},
        {"NO.0006    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5     R",
         "\"600/5\" is not a ratio"},
        {"NO.0006    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     X",
         "\"X\" is not a phase"},
        {"NO.0006     600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R",
         "its columns are not where the table puts them"},
        {"NO.0006    600.0A    4.998A      5.001A     4.997A   -0.2%     R", "it holds 6 fields, not 7"},
        {"NO.5000    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R",
         "record number 5000 is outside 1 to 4000"},
        {"NO.0000    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R",
         "record number 0 is outside 1 to 4000"},
        {LINE_5, "record 5 came before"},
        {"Total: 3 records", "it is not a record line"},
        {"NO.0006    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R\xE9",
         "\"R\xE9\" is not a phase"},
    };
    for (const auto& c : cases) {
        const ReadTable read = readRecordTable(top() + LINE_5 + "\r\n" + c.line + "\r\n");
        ASSERT_EQ(read.records.size(), 1u) << c.line;
        EXPECT_EQ(read.records[0].first, 5);
        ASSERT_EQ(read.unread.size(), 1u) << c.line;
        EXPECT_EQ(read.unread[0].line, 4u);
        EXPECT_EQ(read.unread[0].reason, c.reason) << c.line;
    }
}

// What files hold besides what Save wrote: LF ends, blank lines (a table
// saved again after Open gains one), trailing blanks, 8-bit text around the
// table, a byte-order mark; and files that are no table at all.
TEST(TableReader, FilesAsTheyComeAndTextsThatAreNoTable) {
    const std::string line27 =
        "NO.0027        OL    0.000A      0.000A     0.000A     --%     ---/5A     - -";
    const struct {
        const char* what;
        std::string text;
        bool isTable;
        std::size_t records;
    } cases[] = {
        {"as Save writes it", top() + LINE_5 + "\r\n" + line27 + "\r\n\r\n", true, 2},
        {"LF only", "Travenor\n" + RecordTable::HEADER_LINE + "\n" + LINE_5 + "\n" + line27, true, 2},
        {"saved twice after Open", top() + LINE_5 + "\r\n" + line27 + "\r\n\r\n\r\n\r\n", true, 2},
        {"blanks trimmed and added", "\r\n    NO.       Ih       Ir          Is         It      F.Er     Ratio      CH\r\n" +
                                         LINE_5 + "   \r\n\r\n" + line27 + "\t\r\n",
         true, 2},
        {"8-bit title", "Pr\xFC" "fprotokoll \xE9t\xE9\r\n" + RecordTable::HEADER_LINE + "\r\n" + LINE_5, true, 1},
        {"byte-order mark", "\xEF\xBB\xBF" + top() + LINE_5, true, 1},
        {"empty table", top(), true, 0},
        {"no header", LINE_5 + "\r\n" + line27 + "\r\n", false, 0},
        {"a letter", "Dear Sir,\r\nthe records follow.\r\n", false, 0},
        {"nothing", "", false, 0},
    };
    for (const auto& c : cases) {
        const ReadTable read = readRecordTable(c.text);
        EXPECT_EQ(read.isTable, c.isTable) << c.what;
        EXPECT_EQ(read.records.size(), c.records) << c.what;
        EXPECT_TRUE(read.unread.empty()) << c.what << ": " << unreadSummary(read.unread);
    }
    EXPECT_EQ(unreadSummary({{4, "a"}, {9, "b"}, {12, "c"}}, 2), "line 4: a; line 9: b; and 1 more");
}

}  // namespace
}  // namespace travenor
