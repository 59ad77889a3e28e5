#include <gtest/gtest.h>

#include "link/DecodedReply.h"
#include "records/ExportReader.h"
#include "records/RecordExport.h"
#include "records/RecordStore.h"
#include "sim/InstrumentModel.h"

namespace travenor {
namespace {

RecordStore simulatedStore(int count) {
    RecordStore store;
    store.markAllEmpty();
    const auto records = sim::InstrumentModel::generateRecords(count, 11);
    for (int n = 1; n <= count; ++n)
        store.store(n, DecodedReply::from(records[static_cast<std::size_t>(n - 1)]).record());
    return store;
}

// Every record of a CSV or JSON export reads back as the very record,
// markers and set primary included.
TEST(ExportReader, ReadsBackEveryRecordOfBothFormats) {
    const RecordStore store = simulatedStore(400);
    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Json}) {
        const ReadTable read = readRecordFile(exportRecords(store, format));
        ASSERT_TRUE(read.isTable);
        EXPECT_TRUE(read.unread.empty()) << read.unread.front().reason;
        ASSERT_EQ(read.records.size(), 400u);
        for (const auto& [n, record] : read.records) {
            EXPECT_EQ(record, *store.read(n)) << "record " << n;
            EXPECT_EQ(exportCells(n, record), exportCells(n, *store.read(n))) << "record " << n;
        }
    }
}

// A row the program could not have written is left out, with its line and
// why; the other rows are read.
TEST(ExportReader, LeavesOutRowsTheProgramCouldNotHaveWritten) {
    const std::string header =
        "number,channel,primary_A,secondary_R_A,secondary_S_A,secondary_T_A,"
        "ratio_error_percent,set_primary_A,rated_secondary_A,measured_ratio_primary_A,status\r\n";
    const std::string good = "1,R,600.0,5.000,5.000,5.000,0.5,600,5.0,600,\r\n";
    const struct {
        const char* row;
        const char* reason;  // nullptr: the row is read
    } cases[] = {
        {"2,S,,4.000,4.000,4.000,-0.3,600,5.0,,primary overload; ratio out of range", nullptr},
        {"2,,30.0,0.25,0.25,0.25,,600,5.0,,no ratio error; ratio out of range; no phase", nullptr},
        {"2,R,600.0,5.000,5.000,5.000,0.5,600,1.0,120,", nullptr},
        {"2,R,600.0,5.000,5.000,5.000,0.55,600,5.0,600,", "ratio_error_percent \"0.55\""},
        {"2,R,600.0000000,5.000,5.000,5.000,0.5,600,5.0,600,", "primary_A"},
        {"2,R,,5.000,5.000,5.000,0.5,600,5.0,600,", "status"},
        {"2,R,600.0,5.000,5.000,5.000,0.5,600,5.0,6.5,", "measured_ratio_primary_A \"6.5\""},
        {"2,R,600.0,5.000,5.000,5.000,0.5,600,5.0,600,primary overload", "status"},
        {"2,X,600.0,5.000,5.000,5.000,0.5,600,5.0,600,", "channel \"X\""},
        {"4001,R,600.0,5.000,5.000,5.000,0.5,600,5.0,600,", "\"4001\" is not a record number"},
        {"1,R,600.0,5.000,5.000,5.000,0.5,600,5.0,600,", "record 1 came before"},
        {"2,R,600.0,5.000", "it holds 4 fields, not 11"},
        {"2,\"R,600.0,5.000,5.000,5.000,0.5,600,5.0,600,", "fields, not 11"},
    };
    for (const auto& c : cases) {
        const ReadTable read = readRecordExport(header + good + c.row + "\r\n");
        ASSERT_TRUE(read.isTable) << c.row;
        ASSERT_GE(read.records.size(), 1u) << c.row;
        EXPECT_EQ(read.records.front().first, 1);
        if (c.reason == nullptr) {
            EXPECT_TRUE(read.unread.empty()) << c.row << ": " << read.unread.front().reason;
            EXPECT_EQ(read.records.size(), 2u) << c.row;
            continue;
        }
        ASSERT_EQ(read.unread.size(), 1u) << c.row;
        EXPECT_EQ(read.unread.front().line, 3u) << c.row;
        EXPECT_NE(read.unread.front().reason.find(c.reason), std::string::npos)
            << c.row << ": " << read.unread.front().reason;
    }
}

TEST(ExportReader, TellsAnExportOfOursFromOtherText) {
    const struct {
        const char* text;
        bool isExport;
        std::size_t records;
    } cases[] = {
        {"number,channel\r\n", true, 0},  // an export's header, columns missing: nothing read
        {"[]", true, 0},
        {"\xEF\xBB\xBF[\n  {\"number\": 3, \"channel\": \"T\", \"primary_A\": 1.500, "
         "\"secondary_R_A\": 0.0125, \"secondary_S_A\": 0.0125, \"secondary_T_A\": 0.0125, "
         "\"ratio_error_percent\": -0.2, \"set_primary_A\": null, \"rated_secondary_A\": 0.1, "
         "\"measured_ratio_primary_A\": 12, \"status\": \"\"}\n]\n",
         true, 1},
        {"[{\"port\": 1, \"device\": null}]", false, 0},
        {"[{\"number\": 1", false, 0},
        {"Dear Sir,\r\n", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        const ReadTable read = readRecordExport(c.text);
        EXPECT_EQ(read.isTable, c.isExport) << c.text;
        EXPECT_EQ(read.records.size(), c.records) << c.text;
    }
}

}  // namespace
}  // namespace travenor
