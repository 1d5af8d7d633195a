#include "app/QtUserDialogs.h"

#include "help/HelpWindows.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

UserDialogs::Answer QtUserDialogs::message(const QString& text, Buttons buttons, Icon icon) {
    QMessageBox box(m_owner);
    box.setWindowTitle(m_owner ? m_owner->windowTitle() : QString());
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // A description that already names its pattern in brackets is shown as it stands, not twice.
        const QString bracketed = "(" + parts[i + 1] + ")";
        entries << (parts[i].endsWith(bracketed) ? parts[i] : parts[i] + " " + bracketed);
    }
    return entries.join(";;");
}

QString defaultSuffix(const QString& filter) {
    const QString pattern = filter.section(u'|', 1, 1).section(u';', 0, 0).trimmed();
    if (!pattern.startsWith("*.")) return {};
    const QString suffix = pattern.mid(2);
    return suffix.contains(u'*') || suffix.contains(u'?') ? QString() : suffix;
}

QString QtUserDialogs::chooseFile(const FileDialogRequest& request) {
    QFileDialog dialog(m_owner, request.title, request.startFolder, qtFileFilter(request.filter));
    // The accept button says what the command does, as the title does.
    dialog.setLabelText(QFileDialog::Accept, "&" + request.title);
    if (request.kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // A name typed without a suffix still matches the filter; replacing a file is asked first.
        dialog.setDefaultSuffix(defaultSuffix(request.filter));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void QtUserDialogs::openHelp(int startPos) { openHelpWindow(m_owner, startPos); }
