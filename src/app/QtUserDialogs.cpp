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

QString QtUserDialogs::chooseFile(const QString& initialFolder, const QString& presetName, const QString& filter) {
    QFileDialog dialog(m_owner, m_owner ? m_owner->windowTitle() : QString(), initialFolder, qtFileFilter(filter));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!presetName.isEmpty()) dialog.selectFile(presetName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void QtUserDialogs::openHelp(int startPos) { openHelpWindow(m_owner, startPos); }
