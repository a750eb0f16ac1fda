#pragma once

#include <QByteArrayView>
#include <QString>

// A floor file as text for people and for tools like git: code page 932 decoded, each line
// ended by "\n" where the file ends it by CR LF, CR or LF, so the lines are the file's
// lines as the reader counts them.
namespace FloorFileText {

QString readable(QByteArrayView bytes);

} // namespace FloorFileText
