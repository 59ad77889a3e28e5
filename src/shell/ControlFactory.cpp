#include "shell/ControlFactory.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "shell/WindowFonts.h"

namespace travenor {

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// A fixed caption is read whole: where the face at hand is wider than the one
// the layout was drawn with ("COM:" in 25 pixels), the caption's face is made
// a little smaller rather than the caption cut.
void fitCaption(QLabel* label) {
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > label->width() &&
           font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (font != label->font()) label->setFont(font);
}

QFont fontFor(layout::Font font, const QFont& fallback) {
    switch (font) {
        case layout::Font::Current:
            return songFont(26.25, true);
        case layout::Font::RatioError:
            return songFont(15.75, false);
        case layout::Font::Heading:
            return songFont(15.75, true);
        case layout::Font::Table:
            return tableFont();
        case layout::Font::DialogButton:
            return songFont(12, false);
        case layout::Font::DialogEntry:
            return songFont(15, true);
        case layout::Font::DialogDash:
            return songFont(24, true);
        case layout::Font::Default:
            break;
    }
    return fallback;
}

}  // namespace

QRect pixelRect(const layout::Control& c) {
    return {layout::pixels(c.left), layout::pixels(c.top), layout::pixels(c.width),
            layout::pixels(c.height)};
}

QWidget* makeControl(const layout::Control& c, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (c.kind) {
        case layout::Kind::Label:
            widget = new QLabel(qs(c.caption), parent);
            break;
        case layout::Kind::ValueLabel: {
            auto* label = new QLabel(qs(c.caption), parent);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
            widget = label;
            break;
        }
        case layout::Kind::Frame:
            widget = new QGroupBox(qs(c.caption), parent);
            break;
        case layout::Kind::TextBox:
            widget = new QLineEdit(qs(c.caption), parent);
            break;
        case layout::Kind::ComboBox: {
            auto* box = new QComboBox(parent);
            box->setEditable(true);
            // The box holds a number, never a list: Enter adds no item.
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setEditText(qs(c.caption));
            widget = box;
            break;
        }
        case layout::Kind::Button:
            widget = new QPushButton(qs(c.caption), parent);
            break;
        case layout::Kind::TextArea: {
            auto* area = new QPlainTextEdit(parent);
            area->setLineWrapMode(QPlainTextEdit::NoWrap);
            // The table is the program's to write: typed text would be saved
            // as if it were records. Tab moves on instead of inserting a tab;
            // the text can still be selected and copied.
            area->setReadOnly(true);
            area->setTabChangesFocus(true);
            area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            widget = area;
            break;
        }
        case layout::Kind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            widget = bar;
            break;
        }
        case layout::Kind::Option:
            widget = new QRadioButton(qs(c.caption), parent);
            break;
    }
    widget->setObjectName(qs(c.name));
    widget->setGeometry(pixelRect(c));
    widget->setFont(fontFor(c.font, widget->font()));
    widget->setVisible(c.visible);
    if (c.kind == layout::Kind::Label) fitCaption(static_cast<QLabel*>(widget));
    return widget;
}

}  // namespace travenor
