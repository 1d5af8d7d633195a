#pragma once
// Dialogs answered from a script: each message box and file dialog takes the next queued answer
// (OK boxes answer OK, unscripted questions No, file dialogs cancel) and every request is recorded for the test to read.
#include "panel/UserDialogs.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

class ScriptedDialogs : public UserDialogs {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    struct FileRequest {
        QString initialFolder;
        QString presetName;
        QString filter;
    };

    std::deque<Answer> answers;  // next answers to Yes/No questions
    std::deque<QString> files;   // next file names (empty = cancel)
    std::vector<Shown> messages; // every message box, in order
    std::vector<FileRequest> fileRequests;
    std::vector<int> helpRequests; // start positions of every help opening

    Answer message(const QString& text, Buttons buttons, Icon icon) override {
        messages.push_back({text, buttons, icon});
        if (buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString chooseFile(const QString& initialFolder, const QString& presetName,
                       const QString& filter) override {
        fileRequests.push_back({initialFolder, presetName, filter});
        if (files.empty()) return {};
        const QString file = files.front();
        files.pop_front();
        return file;
    }
    void openHelp(int startPos) override { helpRequests.push_back(startPos); }

    QStringList texts() const {
        QStringList list;
        for (const Shown& shown : messages)
            list << shown.text;
        return list;
    }
};
