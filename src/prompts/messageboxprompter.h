#pragma once

#include "session/prompter.h"

// Asks with message boxes and the file dialogs.
class MessageBoxPrompter : public Prompter
{
public:
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    bool askYesNoUnbidden(QWidget *parent, const QString &title, const QString &text) override;
    UnsavedAnswer askUnsavedChanges(QWidget *parent, const QString &title,
                                    const QString &text) override;
    RestoreAnswer askRestore(QWidget *parent, const QString &title, const QString &text) override;
    void tell(QWidget *parent, Icon icon, const QString &title, const QString &text) override;
    void tellUnbidden(QWidget *parent, Icon icon, const QString &title,
                      const QString &text) override;
    void beep() override;
    QString chooseOpenFile(QWidget *parent, const QString &startFolder) override;
    QString chooseSaveFile(QWidget *parent, const QString &startFolder) override;
};
