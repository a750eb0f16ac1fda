#pragma once

#include <QString>

class QWidget;

// Questions and messages to the user. The session and the windows ask through this, so
// tests can answer; the parent only places the box.
class Prompter
{
public:
    enum class Icon
    {
        Information,
        Warning,
        Critical,
        Question
    };

    enum class UnsavedAnswer
    {
        Save,
        Discard,
        Cancel
    };

    enum class RestoreAnswer
    {
        Restore,
        Delete,
        Later
    };

    virtual ~Prompter() = default;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;
    // The same for a question the user did not bring on (another program changed the map's
    // files): input meant for the window under it does not answer it.
    virtual bool askYesNoUnbidden(QWidget *parent, const QString &title, const QString &text)
    {
        return askYesNo(parent, title, text);
    }
    // The map has unsaved changes: 保存 / 保存しない / キャンセル.
    virtual UnsavedAnswer askUnsavedChanges(QWidget *parent, const QString &title,
                                            const QString &text) = 0;
    // A recovery copy: 復元する / 削除する / 後で. Esc and the close box mean 後で.
    virtual RestoreAnswer askRestore(QWidget *parent, const QString &title,
                                     const QString &text) = 0;
    // A message with a single OK button.
    virtual void tell(QWidget *parent, Icon icon, const QString &title, const QString &text) = 0;
    // The same for a message the user did not bring on, guarded as askYesNoUnbidden.
    virtual void tellUnbidden(QWidget *parent, Icon icon, const QString &title, const QString &text)
    {
        tell(parent, icon, title, text);
    }
    virtual void beep() = 0;
    // The open and save file dialogs, with the map files and bitmap pictures filters.
    // Empty when the user cancelled.
    virtual QString chooseOpenFile(QWidget *parent, const QString &startFolder) = 0;
    virtual QString chooseSaveFile(QWidget *parent, const QString &startFolder) = 0;
};
