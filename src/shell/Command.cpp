#include "shell/Command.h"

namespace travenor {

std::optional<Command> commandForKey(std::string_view key) {
    struct Entry {
        std::string_view key;
        Command command;
    };
    static constexpr Entry KEYS[] = {
        {"Open", Command::Open},   {"Read", Command::Read},   {"Save", Command::Save},
        {"Clear", Command::Clear}, {"Print", Command::Print}, {"Exit", Command::Exit},
    };
    for (const Entry& entry : KEYS)
        if (entry.key == key) return entry.command;
    return std::nullopt;
}

}  // namespace travenor
