#pragma once

#include <QObject>
#include <QString>

// What the status bar's two panels are telling, kept as what it means rather than as
// text, so code asks what is shown by kind; text() renders it.
class StatusLine : public QObject
{
    Q_OBJECT

public:
    enum class Kind
    {
        None,
        // A message of its own, or a cell's description while the pointer is over it.
        Message,
        CellDescription,
        AskLineStart,
        AskLineEnd,
        AskWarpSource,
        AskWarpDestination,
        // A warp cell no pair leaves from, by its position code.
        UnlinkedWarp,
        FilesVanished
    };

    using QObject::QObject;

    Kind kind() const { return mKind; }
    QString text() const;
    void clear() { set(Kind::None, 0, QString()); }
    // A prompt, or the unlinked-warp warning for a position code.
    void tell(Kind kind, int code = 0) { set(kind, code, QString()); }
    void tellText(const QString &message) { set(Kind::Message, 0, message); }
    void describe(const QString &description) { set(Kind::CellDescription, 0, description); }
    void tellFilesVanished(const QString &text) { set(Kind::FilesVanished, 0, text); }
    // Prompts stay while the pointer moves: the user is being asked for a cell.
    bool isPrompt() const;

    // The second panel: where the pointer is.
    const QString &position() const { return mPosition; }
    void setPosition(const QString &position);

Q_SIGNALS:
    void changed();

private:
    void set(Kind kind, int code, const QString &detail);

    Kind mKind = Kind::None;
    int mCode = 0;
    QString mDetail;
    QString mPosition;
};
