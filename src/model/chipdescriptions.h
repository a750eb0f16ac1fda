#pragma once

#include "model/codetables.h"

#include <QByteArray>
#include <QString>

#include <array>

// The 49 chip descriptions of the description file, one per chip index. A description
// may hold one "?" where the chip's number is shown.
class ChipDescriptions
{
public:
    static QString fileName() { return QStringLiteral("Tavolin.dat"); }

    enum class Status
    {
        Ok,
        Missing, // the editor still opens, with blank descriptions
        Failed,  // the editor cannot start
    };
    struct LoadResult
    {
        Status status = Status::Ok;
        QString message; // the warning box text, empty when Ok
    };

    // Blank descriptions.
    ChipDescriptions() = default;

    // Looks in the program's folder, then in ../share/qzk-editor/ beside it.
    static QString locate(const QString &programFolder);
    LoadResult load(const QString &path);
    // Reads the items from code page 932 bytes; Failed when fewer than 49 items.
    LoadResult parse(const QByteArray &bytes);

    QString description(int chip) const;
    // The description with its first "?" replaced by the given number text.
    QString describe(int chip, const QString &number) const;

private:
    static LoadResult failure(Status status, const QString &reason);

    std::array<QString, CodeTables::ChipCount> mTexts;
};
