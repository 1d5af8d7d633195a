#pragma once
// A main window on the offscreen platform with scripted dialogs, its program folder a fresh
// temporary folder and its settings folder one inside it (so setting files and COMn links of
// parallel tests, and a simulated instrument the user runs, never meet).
#include "app/frmDXS.h"
#include "core/ProgramFolder.h"
#include "instrument/SerialTransport.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    ScriptedDialogs& dialogs() { return *m_dialogs; }
    QString folder() const { return m_folder.path(); }
    // Not made: a test that needs it makes it.
    QString settingsDir() const { return m_folder.path() + "/settings"; }

    QTemporaryDir m_folder;
    std::unique_ptr<frmDXS> m_window;
    ScriptedDialogs* m_dialogs = nullptr;
};
