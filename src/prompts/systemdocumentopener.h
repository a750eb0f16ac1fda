#pragma once

#include "prompts/documentopener.h"

// The system shell's "open": the program associated with the document's type.
class SystemDocumentOpener : public DocumentOpener
{
public:
    void open(const QString &path, QObject *context, std::function<void()> failed) override;
};
