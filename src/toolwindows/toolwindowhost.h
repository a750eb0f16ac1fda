#pragma once

class QWidget;

// The window the tool windows stand above. They hand it F2..F7, which run its menu
// commands, so they never need to know which window that is.
class ToolWindowHost
{
public:
    virtual ~ToolWindowHost() = default;
    virtual QWidget *hostWidget() = 0;
    // Runs a command once the tool window's key event is over. The number is the function
    // key's: 2..4 the tool-window options, 5..7 the modes.
    virtual void requestDeferredCommand(int key) = 0;
};
