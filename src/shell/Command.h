#pragma once

#include <optional>
#include <string_view>

namespace travenor {

// What the buttons, the menus and the toolbar ask the program to do.
enum class Command { Open, Read, Save, Clear, Print, Exit };

// The command a toolbar key ("Open", "Read", ...) stands for, compared
// exactly; nothing for any other key.
std::optional<Command> commandForKey(std::string_view key);

}  // namespace travenor
