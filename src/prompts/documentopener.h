#pragma once

#include <QString>

#include <functional>

class QObject;

// Hands a document to the program the system opens it with (a web page to the browser).
// Windows go through this, so tests can answer.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    // `failed` runs when no program takes the document: at once, or a moment later when
    // the program started for it gives up. Only while `context` lives.
    virtual void open(const QString &path, QObject *context, std::function<void()> failed) = 0;
};
