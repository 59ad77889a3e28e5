#include "shell/WindowFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace travenor {

namespace {

// 宋体 under its names, then faces of the same Song/Ming style.
const QStringList SONG_FAMILIES = {
    QStringLiteral("SimSun"),
    QStringLiteral("宋体"),
    QStringLiteral("NSimSun"),
    QStringLiteral("AR PL UMing CN"),
    QStringLiteral("AR PL SungtiL GB"),
    QStringLiteral("Noto Serif CJK SC"),
    QStringLiteral("Source Han Serif SC"),
    QStringLiteral("DejaVu Serif"),
};

}  // namespace

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    return font;
}

QFont songFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies(SONG_FAMILIES);
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

QFont tableFont() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : {QStringLiteral("NSimSun"), QStringLiteral("SimSun")}) {
        if (installed.contains(family) && QFontDatabase::isFixedPitch(family)) {
            QFont font(family);
            font.setPointSizeF(9);
            return font;
        }
    }
    // Some faces the system offers as fixed-pitch are not quite (dual-width
    // fonts); take one known to be, where installed.
    for (const QString& family :
         {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")}) {
        if (installed.contains(family)) {
            QFont font(family);
            font.setStyleHint(QFont::TypeWriter);
            font.setPointSizeF(9);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9);
    return font;
}

}  // namespace travenor
