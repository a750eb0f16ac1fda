#pragma once

class QObject;
class QString;

// Tells a screen reader something that no focused control says, such as a prompt in the
// status bar or the floor now shown. Qt hands such news to the reader from 6.8 on; before
// that the news is not sent and the caller relies on names and focus alone.
class SpokenNews
{
public:
    // True when Qt can send news at all.
    static bool available();
    // Sends the text as news from the object's accessible interface; false when it was not
    // sent (no reader listening, or a Qt without news).
    static bool tell(QObject *source, const QString &text);
};
