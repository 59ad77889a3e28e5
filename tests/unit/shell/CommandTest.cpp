#include <gtest/gtest.h>

#include "shell/Command.h"

namespace travenor {
namespace {

TEST(CommandForKey, OnlyTheExactKeysNameACommand) {
    const std::pair<const char*, std::optional<Command>> cases[] = {
        {"Open", Command::Open},   {"Read", Command::Read},   {"Save", Command::Save},
        {"Clear", Command::Clear}, {"Print", Command::Print}, {"Exit", Command::Exit},
        {"open", std::nullopt},    {"Open ", std::nullopt},   {" Read", std::nullopt},
        {"", std::nullopt},        {"Opens", std::nullopt},   {"Ope", std::nullopt},
    };
    for (const auto& [key, command] : cases) EXPECT_EQ(commandForKey(key), command) << key;
}

}  // namespace
}  // namespace travenor
