#pragma once

#include <gtest/gtest.h>

#include "format/CurrentText.h"
#include "format/RatioText.h"
#include "link/Record.h"

namespace travenor::test {

// The record whose column texts these are; every text must be one the
// program writes.
// All texts empty: a slot never written.
inline Record recordOf(const RecordTexts& texts) {
    Record record;
    if (texts == RecordTexts{"", "", "", "", "", "", texts.CH}) {
        record.channel = texts.CH;
        return record;
    }
    record.slot = Record::Slot::Filled;
    const std::string* currents[] = {&texts.Ih, &texts.Ir, &texts.Is, &texts.It};
    Current* values[] = {&record.primary, &record.secondary[0], &record.secondary[1],
                         &record.secondary[2]};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto current = currentFromText(*currents[i]);
        EXPECT_TRUE(current) << *currents[i];
        if (current) *values[i] = *current;
    }
    const auto error = ratioErrorFromText(texts.FEr);
    const auto ratio = ratioFromText(texts.Ratio);
    EXPECT_TRUE(error && ratio) << texts.FEr << " " << texts.Ratio;
    if (error) record.error = *error;
    if (ratio) record.ratio = *ratio;
    record.channel = texts.CH;
    return record;
}

}  // namespace travenor::test
