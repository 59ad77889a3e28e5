#include <gtest/gtest.h>

#include "records/RecordLine.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/RecordOfTexts.h"

namespace travenor {
namespace {

TEST(RecordStore, BoundsAreZeroTo4000) {
    RecordStore store;
    const Record r = test::recordOf({"1A", "2A", "3A", "4A", "+1%", "600/5A", 1});
    EXPECT_TRUE(store.store(0, r));
    EXPECT_TRUE(store.store(4000, r));
    EXPECT_FALSE(store.store(-1, r));
    EXPECT_FALSE(store.store(4001, r));
    EXPECT_FALSE(store.markEmpty(4001));
    EXPECT_FALSE(store.markEmpty(-1));
    EXPECT_EQ(store.read(4001), nullptr);
    EXPECT_EQ(store.read(-1), nullptr);
    EXPECT_EQ(*store.read(4000), r);
    EXPECT_EQ(*store.read(0), r);
    EXPECT_EQ(*store.read(3999), Record{});
}

TEST(RecordStore, MarkEmptyWritesTheEmptyValues) {
    RecordStore store;
    store.store(5, test::recordOf({"1A", "2A", "3A", "4A", "+1%", "600/5A", 2}));
    ASSERT_TRUE(store.markEmpty(5));
    const RecordTexts r = store.read(5)->texts();
    EXPECT_EQ(r.Ih, "30000");
    EXPECT_EQ(r.Ir, "30000");
    EXPECT_EQ(r.Is, "30000");
    EXPECT_EQ(r.It, "30000");
    EXPECT_EQ(r.FEr, "0");
    EXPECT_EQ(r.Ratio, "600/5A");
    EXPECT_EQ(r.CH, 0);
    EXPECT_TRUE(store.isEmpty(5));
    EXPECT_FALSE(store.isEmpty(6));
}

// The ruler of the table: four lines, byte for byte.
TEST(RecordLine, RulerLines) {
    RecordStore store;
    store.store(1, test::recordOf({"600.0A", "4.998A", "5.001A", "4.997A", "-0.2%", "600/5A", 0}));
    store.store(27, test::recordOf({"    OL", "0.000A", "0.000A", "0.000A", "--%", "---/5A", 3}));
    store.store(4000,
                test::recordOf({"120.0A", "1.000A", "1.000A", "1.002A", "+12.7%", "600/5A", 2}));
    store.store(2, test::recordOf({"", "", "", "", "", "", 0}));
    const std::pair<int, std::string> cases[] = {
        {1, "NO.0001    600.0A    4.998A      5.001A     4.997A   -0.2%     600/5A     R"},
        {27, "NO.0027        OL    0.000A      0.000A     0.000A     --%     ---/5A     - -"},
        {4000, "NO.4000    120.0A    1.000A      1.000A     1.002A   +12.7%     600/5A     T"},
        {2, "NO.0002" + std::string(67, ' ') + "R"},
    };
    const std::size_t lengths[] = {75, 77, 76, 75};
    int i = 0;
    for (const auto& [n, text] : cases) {
        const auto line = recordLine(store, n);
        ASSERT_TRUE(line) << "record " << n;
        EXPECT_EQ(*line, text) << "record " << n;
        EXPECT_EQ(line->size(), lengths[i++]) << "record " << n;
    }
}

// Each field ends where the header says: Ih one column after "Ih", Ir/Is/It
// two after, F.Er with "F.Er", Ratio one after, the phase under "C".
TEST(RecordLine, FieldsLineUpWithTheHeader) {
    RecordStore store;
    store.store(9, test::recordOf({"12.345A", "1.000A", "0.998A", "1.001A", "+0.5%", "600/5A", 1}));
    const std::string line = *recordLine(store, 9);
    const std::string& header = RecordTable::HEADER_LINE;
    auto endOf = [](const std::string& s, const std::string& word, std::size_t from = 0) {
        return s.find(word, from) + word.size() - 1;  // 0-based column of the last character
    };
    EXPECT_EQ(line.find("12.345A") + 6, endOf(header, "Ih") + 1);
    EXPECT_EQ(line.find("1.000A") + 5, endOf(header, "Ir") + 2);
    EXPECT_EQ(line.find("0.998A") + 5, endOf(header, "Is") + 2);
    EXPECT_EQ(line.find("1.001A") + 5, endOf(header, "It") + 2);
    EXPECT_EQ(line.find("+0.5%") + 4, endOf(header, "F.Er"));
    EXPECT_EQ(line.find("600/5A") + 5, endOf(header, "Ratio") + 1);
    EXPECT_EQ(line.size() - 1, header.find("CH"));
    EXPECT_EQ(line.find("NO.0009") + 6, header.find("NO.") + 2);
}

TEST(RecordLine, NumbersAndOverlongTexts) {
    RecordStore store;
    store.store(0, test::recordOf({"1A", "1A", "1A", "1A", "0.0%", "1/5A", 0}));
    EXPECT_EQ(recordLine(store, 0)->substr(0, 7), "NO.0000");
    EXPECT_FALSE(recordLine(store, 4001));
    EXPECT_FALSE(recordLine(store, -1));

    // A ratio of ten characters gets one blank; one of eleven is written whole
    // after one blank instead of losing its record.
    store.store(3, test::recordOf({"1A", "1A", "1A", "1A", "0.0%", "123456/5.5A", 0}));
    store.store(4, test::recordOf({"1A", "1A", "1A", "1A", "0.0%", "12345/5.5A", 0}));
    const std::string overlong = *recordLine(store, 3);
    const std::string filling = *recordLine(store, 4);
    EXPECT_NE(overlong.find("0.0%  123456/5.5A     R"), std::string::npos) << overlong;
    EXPECT_NE(filling.find("0.0%  12345/5.5A     R"), std::string::npos) << filling;
    EXPECT_EQ(overlong.size(), 77u);
    EXPECT_EQ(filling.size(), 76u);
}

}  // namespace
}  // namespace travenor
