#pragma once

class QKeySequence;
class QWidget;

// The window the tool windows stand above. They hand it F2..F7, which run its menu
// commands, so they never need to know which window that is.
class ToolWindowHost
{
public:
    virtual ~ToolWindowHost() = default;
    virtual QWidget *hostWidget() = 0;
    // Runs the host's command for a key once the tool window's key event is over (the
    // command may replace the tool window). False when the key is not one the host takes
    // from tool windows.
    virtual bool requestDeferredCommand(const QKeySequence &keys) = 0;
};
