#include "records/RecordLine.h"

#include "format/FillText.h"
#include "records/RecordStore.h"

namespace travenor {

namespace {

constexpr std::size_t CURRENT_WIDTH = 10;
constexpr std::size_t ERROR_WIDTH = 6;
constexpr std::size_t RATIO_WIDTH = 10;

std::string field(const std::string& text, std::size_t width) {
    const std::size_t fill = text.size() < width ? width - text.size() : 0;
    return blankFill(static_cast<std::uint8_t>(fill)) + text;
}

}  // namespace

std::optional<std::string> recordLine(const RecordStore& store, int n) {
    const Record* stored = store.read(n);
    if (stored == nullptr) return std::nullopt;
    return recordLine(n, *stored);
}

std::string recordLine(int n, const Record& stored) {
    const RecordTexts record = stored.texts();

    const std::string number = std::to_string(n);
    std::string line = "NO." + zeroFill(static_cast<std::uint8_t>(4 - number.size())) + number;
    line += field(record.Ih, CURRENT_WIDTH);
    line += field(record.Ir, CURRENT_WIDTH);
    line += "  ";
    line += field(record.Is, CURRENT_WIDTH);
    line += " ";
    line += field(record.It, CURRENT_WIDTH);
    line += "  ";
    line += field(record.FEr, ERROR_WIDTH);
    line += " ";
    line += field(record.Ratio, RATIO_WIDTH);
    line += "     ";
    line += channelLetter(record.CH);
    return line;
}

}  // namespace travenor
