#include "shell/MainWindowLayout.h"

namespace travenor::layout {

namespace {

using K = Kind;
using F = Font;

constexpr Control CONTROLS[] = {
    // Live readings: headings and row letters.
    {"Label7", K::Label, "", "  1st", 3360, 720, 1455, 375, F::Heading, true},
    {"Label6", K::Label, "", "  2nd", 6840, 720, 1575, 375, F::Heading, true},
    {"Label18", K::Label, "", "F.Er", 9240, 720, 855, 375, F::Heading, true},
    {"Label3", K::Label, "", "R:", 1920, 1200, 495, 375, F::Heading, true},
    {"Label11", K::Label, "", "S:", 1920, 1700, 495, 375, F::Heading, true},
    {"Label12", K::Label, "", "T:", 1920, 2280, 495, 375, F::Heading, true},
    // Primary (1st), secondary (2nd) and ratio error per phase.
    {"Label8", K::ValueLabel, "", "- - - -", 2520, 1080, 3060, 540, F::Current, true},
    {"Label9", K::ValueLabel, "", "- - - -", 2520, 1680, 3015, 495, F::Current, true},
    {"Label10", K::ValueLabel, "", "- - - -", 2520, 2280, 3015, 495, F::Current, true},
    {"Label2", K::ValueLabel, "", "- - - -", 6000, 1080, 3015, 495, F::Current, true},
    {"Label4", K::ValueLabel, "", "- - - -", 6000, 1680, 3015, 495, F::Current, true},
    {"Label5", K::ValueLabel, "", "- - - -", 6000, 2280, 3015, 495, F::Current, true},
    {"Label13", K::ValueLabel, "", "0.0%", 9120, 1080, 1095, 495, F::RatioError, true},
    {"Label19", K::ValueLabel, "", "0.0%", 9120, 1680, 1095, 495, F::RatioError, true},
    {"Label20", K::ValueLabel, "", "0.0%", 9120, 2280, 1095, 495, F::RatioError, true},
    // Table, progress and the hidden print buffer.
    {"RichTextBox1", K::TextArea, "", "", 120, 2880, 10335, 5535, F::Table, true},
    {"ProgressBar1", K::ProgressBar, "", "", 0, 8400, 10455, 375, F::Default, false},
    {"RichTextBox2", K::TextArea, "", "", 720, 8880, 375, 255, F::Table, false},
    // Frames, then what each holds.
    {"Frame1", K::Frame, "", "Comunication", 10560, 120, 2535, 975, F::Default, true},
    {"Label1", K::Label, "Frame1", "COM:", 600, 360, 375, 255, F::Default, true},
    {"Combo1", K::ComboBox, "Frame1", "1", 960, 280, 855, 300, F::Default, true},
    {"Frame2", K::Frame, "", "Operation", 10560, 1320, 2535, 5535, F::Default, true},
    {"Command1", K::Button, "Frame2", "Open", 480, 360, 1695, 615, F::Default, true},
    {"Command2", K::Button, "Frame2", "Read", 480, 1200, 1695, 615, F::Default, true},
    {"Command3", K::Button, "Frame2", "Save", 480, 2040, 1695, 615, F::Default, true},
    {"Command4", K::Button, "Frame2", "Clear", 480, 2880, 1695, 615, F::Default, true},
    {"Command6", K::Button, "Frame2", "Print", 480, 3720, 1695, 615, F::Default, true},
    {"Command5", K::Button, "Frame2", "Exit", 480, 4560, 1695, 615, F::Default, true},
    {"Frame3", K::Frame, "", "Status", 10560, 7080, 2535, 1455, F::Default, true},
    {"Text1", K::TextBox, "Frame3", "COM1", 240, 240, 2055, 270, F::Default, true},
    {"Text2", K::TextBox, "Frame3", "Text2", 240, 480, 2055, 270, F::Default, true},
    {"Text3", K::TextBox, "Frame3", "Text3", 240, 720, 2055, 270, F::Default, true},
    {"Text4", K::TextBox, "Frame3", "", 240, 960, 2055, 270, F::Default, true},
    {"Frame4", K::Frame, "", "Others", 120, 1080, 1695, 1575, F::Default, true},
    {"Label14", K::Label, "Frame4", "Set:---/-.-A", 120, 340, 1335, 255, F::Default, true},
    {"Label17", K::Label, "Frame4", "Rat:---/-.-A", 120, 620, 1455, 255, F::Default, true},
    {"Label15", K::Label, "Frame4", "HVDev LowBat.", 120, 920, 1215, 255, F::Default, false},
    {"Label16", K::Label, "Frame4", "LVDev LowBat", 120, 1200, 1095, 255, F::Default, false},
};

constexpr ToolbarButton TOOLBAR[] = {
    {"Open", ":/icons/open.svg"},   {"Read", ":/icons/read.svg"},   {"Save", ":/icons/save.svg"},
    {"Print", ":/icons/print.svg"}, {"Clear", ":/icons/clear.svg"}, {"Exit", ":/icons/exit.svg"},
};

constexpr MenuItem FILE_ITEMS[] = {
    {"打开", "Open", "Open", 'O'},
    {"保存", "Save", "Save", 'S'},
    {"退出", "Exit", "Exit", 'x'},
};
constexpr MenuItem OPERATION_ITEMS[] = {
    {"读取", "Read", "Read", 'R'},
    {"打印", "Print", "Print", 'P'},
    {"数据清除", "Clear", "Clear", 'C'},
};
constexpr Menu MENUS[] = {
    {"at", "File", FILE_ITEMS, 'F'},
    {"caozhou", "Operation", OPERATION_ITEMS, 'O'},
};

constexpr Accessible ACCESSIBLE[] = {
    {"Label8", "Phase R, primary current", "Primary current of phase R, high-voltage unit"},
    {"Label9", "Phase S, primary current", "Primary current of phase S, high-voltage unit"},
    {"Label10", "Phase T, primary current", "Primary current of phase T, high-voltage unit"},
    {"Label2", "Phase R, secondary current", "Secondary current of phase R, low-voltage unit"},
    {"Label4", "Phase S, secondary current", "Secondary current of phase S, low-voltage unit"},
    {"Label5", "Phase T, secondary current", "Secondary current of phase T, low-voltage unit"},
    {"Label13", "Phase R, ratio error", "Ratio error of phase R in percent"},
    {"Label19", "Phase S, ratio error", "Ratio error of phase S in percent"},
    {"Label20", "Phase T, ratio error", "Ratio error of phase T in percent"},
    {"Label14", "Set ratio", "Rated primary and secondary current set on the instrument"},
    {"Label17", "Measured ratio", "Ratio of the measured primary and secondary currents"},
    {"Label15", "High-voltage unit battery low",
     "Shown while the high-voltage unit's battery is low"},
    {"Label16", "Low-voltage unit battery low",
     "Shown while the low-voltage unit's battery is low"},
    {"Combo1", "Port number", "Serial port 1 to 16 the instrument is looked for on"},
    {"Text1", "Serial port", "The serial port in use"},
    {"Text2", "Port state", "Whether the serial port is open"},
    {"Text3", "Link state", "Whether the instrument answers"},
    {"Text4", "Activity", "Reading records, or looking for the instrument"},
    {"RichTextBox1", "Record table", "The records read from the instrument or opened from a file"},
    {"ProgressBar1", "Download progress", "Share of the instrument's records read so far"},
    {"Panel1", "Link state", "Whether the instrument answers"},
    {"Panel2", "Program", "The program's name"},
    {"Panel3", "Time of day", "The time of day"},
};

constexpr Panel PANELS[] = {{1605, 1440}, {10000, 10000}, {1640, 1640}};

constexpr const char* TAB_ORDER[] = {"Command1", "Command2", "Command3",     "Command4",
                                     "Command5", "Combo1",   "Text1",        "Text2",
                                     "Text3",    "Text4",    "RichTextBox1", "Command6"};

}  // namespace

std::span<const Control> controls() {
    return CONTROLS;
}
std::span<const ToolbarButton> toolbar() {
    return TOOLBAR;
}
std::span<const Menu> menus() {
    return MENUS;
}
std::span<const Panel> panels() {
    return PANELS;
}
std::span<const char* const> tabOrder() {
    return TAB_ORDER;
}
std::span<const Accessible> accessibility() {
    return ACCESSIBLE;
}

}  // namespace travenor::layout
