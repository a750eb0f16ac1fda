#pragma once

#include "prompts/documentopener.h"

#include <QStringList>
#include <QTimer>

// Records the documents handed over and answers as the system would.
class StubDocumentOpener : public DocumentOpener
{
public:
    enum class Outcome
    {
        Shown,
        NoProgram,      // the shell refuses at once
        ProgramGivesUp, // a program starts and ends with an error a moment later
    };
    Outcome outcome = Outcome::Shown;
    QStringList opened;

    void open(const QString &path, QObject *context, std::function<void()> failed) override
    {
        opened.append(path);
        if (outcome == Outcome::NoProgram)
            failed();
        else if (outcome == Outcome::ProgramGivesUp)
            QTimer::singleShot(10, context, failed);
    }
};
