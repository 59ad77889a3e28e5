#include "shell/PrintRangeLayout.h"

namespace travenor::layout::printRange {

namespace {

using K = Kind;
using F = Font;

constexpr Control CONTROLS[] = {
    {"Command1", K::Button, "", "O K", 1080, 2280, 1215, 615, F::DialogButton, true},
    {"Command2", K::Button, "", "Cancel", 3720, 2280, 1215, 615, F::DialogButton, true},
    {"Label1", K::Label, "", "Print:", 960, 720, 975, 375, F::DialogEntry, true},
    {"Text1", K::TextBox, "", "1", 2040, 720, 975, 375, F::DialogEntry, true},
    {"Label2", K::Label, "", "Set", 4680, 765, 615, 375, F::DialogEntry, true},
    {"Label3", K::Label, "", "-", 3120, 675, 375, 375, F::DialogDash, true},
    {"Text2", K::TextBox, "", "100", 3480, 720, 1095, 375, F::DialogEntry, true},
    {"Option1", K::Option, "", "", 480, 720, 375, 375, F::Default, true},
    {"Option2", K::Option, "", "", 480, 1320, 375, 375, F::Default, true},
    {"Label4", K::Label, "", "Print All", 960, 1320, 1695, 375, F::DialogEntry, true},
};

}  // namespace

std::span<const Control> controls() {
    return CONTROLS;
}

}  // namespace travenor::layout::printRange
