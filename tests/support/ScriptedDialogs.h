#pragma once
// Dialogs answered from a script: questions take the next queued answer (No when none is left), file
// dialogs the next file name (cancel when none is left); every request is recorded.
#include "panel/UserDialogs.h"

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
    std::deque<Answer> answers;
    std::deque<QString> files; // an empty name cancels
    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<int> helpRequests; // start positions

    Answer message(const QString& text, Buttons buttons, Icon icon) override {
        messages.push_back({text, buttons, icon});
        return buttons == Buttons::Ok ? Answer::Ok : next(answers, Answer::No);
    }
    QString chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return next(files, QString());
    }
    void openHelp(int startPos) override { helpRequests.push_back(startPos); }
    QStringList texts() const {
        QStringList list;
        for (const Shown& shown : messages)
            list << shown.text;
        return list;
    }

private:
    template <class T> static T next(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) return otherwise;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
