#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "records/RecordExport.h"
#include "records/RecordStore.h"

namespace travenor {
namespace {

Record record(Current primary, std::array<Current, 3> secondary, std::uint8_t error,
              std::int16_t channel, MeasuredRatio ratio) {
    return {Record::Slot::Filled, primary, secondary, {error}, ratio, channel, 600};
}

constexpr Current A(std::uint16_t count, std::uint8_t code = 0x33) {
    return {count, code};
}
constexpr Current OL{10000, 0x33};
constexpr Current ERR{20000, 0x33};
constexpr MeasuredRatio RATIO{true, 600, 50};
constexpr MeasuredRatio OUT{false, 0, 50};

// Each record's CSV row: numbers in amperes and percent, empty where a value
// is missing and the status saying why; JSON carries the same values.
TEST(RecordExport, RowsOfValuesAndTheReasonsForMissingOnes) {
    const struct {
        Record record;
        const char* row;
    } cases[] = {
        {record(A(1200, 0x31), {A(1000), A(998), A(1001)}, 0x85, 0, RATIO),
         "1,R,120.0,1.000,0.998,1.001,0.5,600,5.0,600,"},
        {record(OL, {A(1000), A(998), A(1001)}, 0x05, 1, OUT),
         "2,S,,1.000,0.998,1.001,-0.5,600,5.0,,primary overload; ratio out of range"},
        {record(A(1200, 0x31), {A(1000), ERR, A(0)}, 0x0A, 1, OUT),
         "3,S,120.0,1.000,,0.000,-1.0,600,5.0,,secondary S measuring error; ratio out of range"},
        {record(A(1200, 0x31), {A(1989, 0x41), A(500, 0x42), A(7, 0x40)}, 0x80, 2, RATIO),
         "4,T,120.0,0.1989,0.00500,0.007,0.0,600,5.0,600,"},
        {record(A(1200, 0x31), {A(1000), A(1000), A(1000)}, 110, 0, {true, 0, 5}),
         "5,R,120.0,1.000,1.000,1.000,,600,0.5,0,no ratio error"},
        {record(ERR, {OL, A(1000), A(1000)}, 0xFF, 3, OUT),
         "6,,,,1.000,1.000,12.7,600,5.0,,primary measuring error; secondary R overload; ratio out "
         "of range; no phase"},
        {record(A(65535, 0x04), {A(1000), A(1000), A(1000)}, 0x01, 15, OUT),
         "7,,65535,1.000,1.000,1.000,-0.1,600,5.0,,ratio out of range; no phase"},
    };
    RecordStore store;
    for (int n = 0; n <= RecordStore::LAST_SLOT; ++n) store.markEmpty(n);
    int n = 0;
    for (const auto& c : cases) store.store(++n, c.record);
    std::string expected =
        "number,channel,primary_A,secondary_R_A,secondary_S_A,secondary_T_A,ratio_error_percent,"
        "set_primary_A,rated_secondary_A,measured_ratio_primary_A,status\r\n";
    for (const auto& c : cases) expected += std::string(c.row) + "\r\n";
    EXPECT_EQ(exportRecords(store, ExportFormat::Csv), expected);

    const QJsonArray rows =
        QJsonDocument::fromJson(QByteArray::fromStdString(exportRecords(store, ExportFormat::Json)))
            .array();
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(std::size(cases)));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonObject o = rows[i].toObject();
        const std::vector<std::string> cells =
            exportCells(static_cast<int>(i) + 1, cases[i].record);
        for (std::size_t column = 0; column < std::size(EXPORT_COLUMNS); ++column) {
            const QJsonValue value = o[EXPORT_COLUMNS[column]];
            const std::string& cell = cells[column];
            if (value.isString()) {
                EXPECT_EQ(value.toString().toStdString(), cell) << EXPORT_COLUMNS[column];
            } else if (cell.empty()) {
                EXPECT_TRUE(value.isNull()) << EXPORT_COLUMNS[column] << " of row " << i;
            } else {
                ASSERT_TRUE(value.isDouble()) << EXPORT_COLUMNS[column] << " of row " << i;
                EXPECT_DOUBLE_EQ(value.toDouble(), std::stod(cell)) << EXPORT_COLUMNS[column];
            }
        }
    }
    // The table stays the table Save writes.
    EXPECT_EQ(exportRecords(store, ExportFormat::Table).substr(0, 10), std::string(10, ' '));
}

}  // namespace
}  // namespace travenor
