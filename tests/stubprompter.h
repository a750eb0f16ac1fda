#pragma once

#include "session/prompter.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers questions with a fixed reply and records what was asked and told.
class StubPrompter : public Prompter
{
public:
    bool answer = false;
    // Answers of yes-no questions in order; `answer` once none is left.
    QList<bool> yesNoAnswers;
    QStringList questions; // "title|text"
    QStringList messages;  // "title|text"
    int beeps = 0;
    QStringList files;        // answers of the file dialogs in order; empty text = cancel
    QStringList fileDialogs;  // "open|startFolder" or "save|startFolder"
    QList<Icon> messageIcons; // the icon of each entry of messages
    // Answers of the unsaved-changes question in order; Cancel when none is left.
    QList<UnsavedAnswer> unsavedAnswers;
    // Answers of the restore question in order; Later when none is left.
    QList<RestoreAnswer> restoreAnswers;
    // Runs while a file dialog is "open", before it answers.
    std::function<void()> duringFileDialog;
    // Runs while a yes-no question is "open", before it answers.
    std::function<void()> duringQuestion;

    bool askYesNo(QWidget *, const QString &title, const QString &text) override
    {
        questions.append(title + u'|' + text);
        if (duringQuestion)
            duringQuestion();
        return yesNoAnswers.isEmpty() ? answer : yesNoAnswers.takeFirst();
    }
    UnsavedAnswer askUnsavedChanges(QWidget *, const QString &title, const QString &text) override
    {
        questions.append(title + u'|' + text);
        return unsavedAnswers.isEmpty() ? UnsavedAnswer::Cancel : unsavedAnswers.takeFirst();
    }
    RestoreAnswer askRestore(QWidget *, const QString &title, const QString &text) override
    {
        questions.append(title + u'|' + text);
        return restoreAnswers.isEmpty() ? RestoreAnswer::Later : restoreAnswers.takeFirst();
    }
    void tell(QWidget *, Icon icon, const QString &title, const QString &text) override
    {
        messages.append(title + u'|' + text);
        messageIcons.append(icon);
    }
    void beep() override { ++beeps; }
    QString chooseOpenFile(QWidget *, const QString &startFolder) override
    {
        fileDialogs.append(QStringLiteral("open|") + startFolder);
        if (duringFileDialog)
            duringFileDialog();
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString chooseSaveFile(QWidget *, const QString &startFolder) override
    {
        fileDialogs.append(QStringLiteral("save|") + startFolder);
        if (duringFileDialog)
            duringFileDialog();
        return files.isEmpty() ? QString() : files.takeFirst();
    }
};
