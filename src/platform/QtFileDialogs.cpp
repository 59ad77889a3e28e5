#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace travenor {

namespace {

// Qt reads a filter's patterns from its last bracket; the shown name is the
// text before it once the details are hidden. "*.*" would list only names
// with a dot here, so it stands for every file.
QString qtFilter(const FileFilter& entry) {
    QString pattern = QString::fromStdString(entry.pattern);
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    return QString::fromStdString(entry.shown) + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

// "txt" for "*.txt"; nothing for a pattern that names no one extension.
QString suffixOf(const QString& qtFilterText) {
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    const auto match = single.match(qtFilterText);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, bool save, const std::string& fileName,
                                            const std::string& filter) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);

    QStringList filters;
    for (const FileFilter& entry : filterEntries(filter)) filters << qtFilter(entry);
    dialog->setNameFilters(filters);
    if (save && !filters.isEmpty()) {
        // A name typed without an extension gets the chosen entry's.
        dialog->setDefaultSuffix(suffixOf(filters.front()));
        QFileDialog* d = dialog.get();
        QObject::connect(d, &QFileDialog::filterSelected, d,
                         [d](const QString& chosen) { d->setDefaultSuffix(suffixOf(chosen)); });
    }

    const QFileInfo preset(QString::fromStdString(fileName));
    dialog->setDirectory(preset.absolutePath());
    dialog->selectFile(preset.fileName());
    return dialog;
}

std::optional<std::string> QtFileDialogs::showOpen(const std::string& fileName,
                                                   const std::string& filter) {
    return show(false, fileName, filter);
}

std::optional<std::string> QtFileDialogs::showSave(const std::string& fileName,
                                                   const std::string& filter) {
    return show(true, fileName, filter);
}

std::optional<std::string> QtFileDialogs::show(bool save, const std::string& fileName,
                                               const std::string& filter) {
    auto dialog = makeFileDialog(parent, save, fileName, filter);
    dialog->setWindowModality(Qt::WindowModal);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    // The dialog takes any dot in a name for an extension's: a dotted date
    // would otherwise leave the file without one.
    if (save)
        return withSaveExtension(chosen.front().toStdString(),
                                 suffixOf(dialog->selectedNameFilter()).toStdString());
    return chosen.front().toStdString();
}

}  // namespace travenor
