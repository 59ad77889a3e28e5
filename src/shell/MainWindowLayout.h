#pragma once

#include <span>

#include "shell/Views.h"

namespace travenor::layout {

using travenor::Tick;

// The main window's controls as data: positions and sizes in twips (15 to a
// pixel at 96 dpi), relative to the client area or to the containing frame.

enum class Kind {
    Label,
    ValueLabel,
    Frame,
    TextBox,
    ComboBox,
    Button,
    TextArea,
    ProgressBar,
    Option
};
// Current, RatioError and Heading are the readings' Song face; the Dialog
// ones are the same face as the print-range dialog uses it.
enum class Font {
    Default,
    Current,
    RatioError,
    Heading,
    Table,
    DialogButton,
    DialogEntry,
    DialogDash
};

struct Control {
    const char* name;
    Kind kind;
    const char* parent;  // "" for the window itself
    const char* caption;
    int left, top, width, height;
    Font font;
    bool visible;
};

struct ToolbarButton {
    const char* key;  // also the caption
    const char* icon;
};

struct MenuItem {
    const char* name;
    const char* caption;
    const char* command;  // the toolbar key of the same command
    char mnemonic;        // the letter of the caption Alt reaches it by
};

struct Menu {
    const char* name;
    const char* caption;
    std::span<const MenuItem> items;
    char mnemonic;
};

// What a screen reader says of a control that shows a value: what the value
// is, since the value alone ("- - - -", "0.0%") says nothing.
struct Accessible {
    const char* name;
    const char* accessibleName;
    const char* description;
};

struct Panel {
    int width, minimumWidth;
};

// The program's ticks, each a timer of its own.
inline constexpr const char* CAPTION = "Travenor ";
inline constexpr int CLIENT_WIDTH = 13305;
inline constexpr int CLIENT_HEIGHT = 9615;
inline constexpr int TWIPS_PER_PIXEL = 15;
inline constexpr int TOOLBAR_HEIGHT = 660;
inline constexpr int STATUS_BAR_TOP = 9240;
inline constexpr int STATUS_BAR_HEIGHT = 375;
inline constexpr int TOOLBAR_ICON_SIZE = 32;

std::span<const Control> controls();
std::span<const ToolbarButton> toolbar();
std::span<const Menu> menus();
std::span<const Panel> panels();
std::span<const Accessible> accessibility();
// Keyboard focus order; the first has the focus when the window opens.
std::span<const char* const> tabOrder();

constexpr int pixels(int twips) {
    return (twips + TWIPS_PER_PIXEL / 2) / TWIPS_PER_PIXEL;
}

}  // namespace travenor::layout
