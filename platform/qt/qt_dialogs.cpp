// The modal system dialogs. Under test each takes a scripted answer instead.
#include "platform/dialogs.h"
#include "platform/seam.h"
#include "platform/qt/qt_internal.h"
#include "platform/testing.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QApplication>
#include <QUrl>

namespace platform {

namespace {

// "Name (*.ext)|*.ext|..." as toolkit filters. "*.*" means every file, also one
// without a dot, as it does on Windows.
QStringList nameFilters(const std::string& patterns)
{
    QStringList parts = qt::fromCp1252(patterns).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        int open = static_cast<int>(name.indexOf(QLatin1String(" (")));
        if (open >= 0)
            name.truncate(open);
        QString pattern = parts[i + 1] == QLatin1String("*.*") ? QStringLiteral("*") : parts[i + 1];
        filters << name + QLatin1String(" (") + pattern.replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

FileChoice fileDialog(bool save, const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    seam::SplitPath proposal = seam::splitPath(proposedPath);
    if (testing::active())
        return seam::scriptedFileChoice(save ? "save file" : "open file", title, proposal, patterns);
    QFileDialog dialog(qt::dialogParent(), qt::fromCp1252(title), qt::fromPath(proposal.folder));
    QStringList filters = nameFilters(patterns);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(qt::fromPath(proposal.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {std::string(), 0};
    int pattern = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return {qt::toPath(dialog.selectedFiles().first()), std::max(pattern, 0)};
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

FileChoice openFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    return fileDialog(false, title, proposedPath, patterns);
}

FileChoice saveFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    return fileDialog(true, title, proposedPath, patterns);
}

std::optional<Color> chooseColor(Color preset)
{
    if (testing::active())
        return seam::scriptedColor();
    QColor chosen = QColorDialog::getColor(
        QColor(static_cast<int>(preset & 0xFF), static_cast<int>(preset >> 8 & 0xFF), static_cast<int>(preset >> 16 & 0xFF)),
        qt::dialogParent());
    if (!chosen.isValid())
        return std::nullopt;
    return rgb(chosen.red(), chosen.green(), chosen.blue());
}

// The focus goes back to the control that had it before the box took it.
void beep()
{
    qt::beep();
}

void messageBox(const std::string& title, const std::string& text, MessageIcon icon)
{
    QPointer<QWidget> focus = QApplication::focusWidget();
    if (testing::active()) {
        if (focus)
            focus->clearFocus();   // as the box would take it
        seam::recordMessage(title, text, icon);
    } else {
        QMessageBox box(qtIcon(icon), qt::fromCp1252(title), qt::multiLine(text), QMessageBox::Ok, qt::dialogParent());
        box.exec();
    }
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void openWebAddress(const std::string& url)
{
    if (testing::active()) {
        seam::recordWebAddress(url);
        return;
    }
    QDesktopServices::openUrl(QUrl(qt::fromCp1252(url)));
}

} // namespace platform
