#pragma once

#include <QObject>
#include <QPoint>

// The tool-window display option and where the last tool window stood; the views show
// the tool window by it.
class ToolBoxState : public QObject
{
    Q_OBJECT

public:
    enum Mode
    {
        Shown = 1,
        RolledUp = 2,
        Hidden = 3
    };

    Mode mode() const { return mMode; }
    // Out-of-range values are ignored; every valid choice is told, even the current one.
    void setMode(Mode mode);

    // In twips, kept within 16 bits.
    QPoint position() const { return mPosition; }
    void setPosition(QPoint twips);

Q_SIGNALS:
    void modeChanged();

private:
    Mode mMode = Shown;
    QPoint mPosition;
};
