#pragma once
// A main window on the offscreen platform with scripted dialogs, its program folder a fresh
// temporary folder and its settings folder one inside it (so setting files and COMn links of
// parallel tests, and a simulated instrument the user runs, never meet). Brings the widgets the
// window tests drive.
#include "app/frmDXS.h"
#include "core/ProgramFolder.h"
#include "instrument/SerialTransport.h"
#include "panel/NumericBox.h"
#include "support/QtPrint.h"
#include "support/ScriptedDialogs.h"

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>
#include <tuple>

inline const QString kNotReady =
    "The Connection between DXS-4820 and PC is not Ready, Please check and try agagin.";

// A file's whole content, empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        setProgramFolder(m_folder.path());
        setSettingsFolder(settingsDir());
        SerialTransport::setMachinePortsSearched(false);
    }
    void TearDown() override {
        m_window.reset();
        setProgramFolder(QString());
        setSettingsFolder(QString());
        SerialTransport::setMachinePortsSearched(true);
        SerialTransport::setTtyListFolder(QString());
    }
    // Creates (and shows) the window; call after preparing files in folder().
    frmDXS& window(bool show = true) {
        if (!m_window) {
            auto dialogs = std::make_unique<ScriptedDialogs>();
            m_dialogs = dialogs.get();
            m_window = std::make_unique<frmDXS>(std::move(dialogs));
            if (show) m_window->show();
        }
        return *m_window;
    }
    // The window shown and active, so keys reach its focused control.
    frmDXS& activeWindow() {
        frmDXS& w = window();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    // Every text the message line shows from now on.
    QStringList& messageLog() {
        m_messages.clear();
        QObject::connect(window().txtMessage, &QLineEdit::textChanged, window().txtMessage,
                         [this](const QString& text) { m_messages << text; });
        return m_messages;
    }
    ScriptedDialogs& dialogs() { return *m_dialogs; }
    QString folder() const { return m_folder.path(); }
    // Not made: a test that needs it makes it.
    QString settingsDir() const { return m_folder.path() + "/settings"; }

    QTemporaryDir m_folder;
    std::unique_ptr<frmDXS> m_window;
    ScriptedDialogs* m_dialogs = nullptr;
    QStringList m_messages;
};
