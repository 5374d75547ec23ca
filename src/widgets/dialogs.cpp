#include "dialogs.h"

#include "colorbox.h"
#include "text/errortext.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qm::ui {

void showError(QWidget* owner, const Error& error, const QString& file) {
    const QString name = file.isEmpty() ? QString() : QFileInfo(file).fileName();
    dialogs().showMessage(owner, kAppTitle, text::userText(error, name),
                          error.kind == ErrorKind::Check ? MsgIcon::None : MsgIcon::Critical, MsgButtons::Ok);
}

void showError(QWidget* owner, const Error& error, const QString& below, const QString& title,
               const QString& heading) {
    QStringList lines{text::userText(error), below};
    if (!heading.isEmpty())
        lines.prepend(heading);
    dialogs().showMessage(owner, title, lines.join(QStringLiteral("\r\n")), MsgIcon::Critical,
                          MsgButtons::Ok);
}
namespace {

Dialogs* g_dialogs = nullptr;

// "prx" for "*.prx"; empty for a pattern of no single extension.
QString filterSuffix(const QString& pattern) {
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.contains(QLatin1Char(' ')))
        return {};
    const QString suffix = pattern.mid(2);
    return suffix.contains(QLatin1Char('*')) ? QString() : suffix;
}

} // namespace

Dialogs::~Dialogs() = default;

bool Dialogs::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

Dialogs& dialogs() {
    static QtDialogs qtDialogs;
    return g_dialogs ? *g_dialogs : qtDialogs;
}

void setDialogs(Dialogs* d) {
    g_dialogs = d;
}

MsgAnswer QtDialogs::showMessage(QWidget* owner, const QString& title, const QString& text, MsgIcon icon,
                                 MsgButtons buttons, const QString& detail) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    box.setInformativeText(detail);
    // In the order of MsgIcon.
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Question,
                                                   QMessageBox::Critical, QMessageBox::Warning,
                                                   QMessageBox::Information};
    box.setIcon(kIcons[static_cast<int>(icon)]);
    if (buttons == MsgButtons::SaveDiscardCancel) {
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Save:
            return MsgAnswer::Save;
        case QMessageBox::Discard:
            return MsgAnswer::Discard;
        default:
            return MsgAnswer::Cancel;
        }
    }
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

QString withFilterSuffix(const QString& path, const QString& filterPattern) {
    const QString suffix = filterSuffix(filterPattern);
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString QtDialogs::chooseFile(QWidget* owner, const QString& initialFolder, const QString& filterName,
                              const QString& filterPattern, const QString& title, FileMode mode,
                              const QString& suggestedName) {
    const QString folder = initialFolder.isEmpty() ? QDir::currentPath() : initialFolder;
    QString filter = filterName;
    if (!filterName.contains(QLatin1Char('(')))
        filter += QStringLiteral(" (") + filterPattern + QLatin1Char(')');
    QFileDialog dialog(owner, title, folder, filter);
    if (mode == FileMode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The overwrite question asks about the name that will be written.
        dialog.setDefaultSuffix(filterSuffix(filterPattern));
        if (!suggestedName.isEmpty())
            dialog.selectFile(suggestedName);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString path = dialog.selectedFiles().value(0).trimmed();
    return mode == FileMode::Save ? withFilterSuffix(path, filterPattern) : path;
}

bool QtDialogs::chooseColour(QWidget* owner, prx::Rgb initial, prx::Rgb& chosen) {
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, toQColor(customColors()[static_cast<std::size_t>(i)]));
    QColorDialog dialog(toQColor(initial), owner);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i)
        customColors()[static_cast<std::size_t>(i)] = fromQColor(QColorDialog::customColor(i));
    if (!accepted)
        return false;
    chosen = fromQColor(dialog.selectedColor());
    return true;
}

} // namespace qm::ui
