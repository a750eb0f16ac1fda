#pragma once

#include <QString>

// Numbers shown after "Error No.". Users quote them when they report a problem, so a
// number never changes its meaning; new faults get new numbers.
namespace MapError {
inline constexpr int FileNotFound = 53;    // a floor file to be read does not exist
inline constexpr int IoError = 57;         // reading or writing an open file failed
inline constexpr int ReadPastEnd = 62;     // the file ends where the layout needs more
inline constexpr int AccessError = 75;     // a file could not be opened or created
inline constexpr int InvalidData = 1000;   // a value out of range (its message shows no number)
inline constexpr int NotShiftJis = 1001;   // bytes not code page 932 (now read as replaced)
inline constexpr int Unencodable = 1002;   // a text code page 932 cannot hold
inline constexpr int ReplaceFailed = 1003; // a written file could not take the old one's place
} // namespace MapError

// A line of one floor file, as the messages name it.
struct FilePlace
{
    int floor = 0; // 0: no file
    QString path;  // empty for files read from memory
    int line = 0;  // within that file

    // The file (or its floor when there is no path) and the line.
    QString text() const;
    // The same naming the given lines ("3、5") instead, and how many more there are.
    QString text(const QString &lines, qsizetype moreLines = 0) const;
};

// A failed load or save, as a value the window shows in a message box.
struct MapFault
{
    enum class Kind
    {
        InvalidData, // a value out of range while loading
        Failure,     // anything else: missing file, early end, file system, encoding
    };
    // The document text a save could not encode.
    enum class Text
    {
        None,
        Cells,
        Branches,
        Name,
        Background,
        EndText,
    };

    Kind kind = Kind::Failure;
    int errorNumber = 0; // one of MapError
    int lineNumber = 0;  // loading: the line counter at the fault
    int fileLine = 0;    // loading: the line within the floor file at the fault
    int floor = 0;       // the floor concerned, 0 when none
    Text text = Text::None;
    QString path; // the file concerned, empty when none
    QString title;
    QString message;

    // The running line number stays as the message's own; place adds a line naming the file.
    static MapFault loadInvalidData(int lineNumber, const FilePlace &place = {});
    static MapFault loadFailure(int errorNumber, int lineNumber, const FilePlace &place = {});
    // description: the file system's own words for what went wrong.
    static MapFault saveFailure(int errorNumber, const QString &description,
                                const QString &path = {});
    // The file system refused the file at path. systemError: the errno value the failed
    // call left (0 when unknown); systemText: its own words, shown when nothing better is
    // known. The message says in Japanese what went wrong and names the file.
    static MapFault saveFileFailure(int errorNumber, const QString &path, int systemError,
                                    const QString &systemText);
    static MapFault loadFileFailure(int errorNumber, int lineNumber, const QString &path,
                                    int systemError, const QString &systemText);
    static MapFault unencodable(int floor, Text text);
};
