#include "model/chipdescriptions.h"

#include "model/codepage932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Splits text into items the way sequential "Input" reading does: blanks before an
// item are skipped, a quoted item runs to the closing quote (commas kept), anything
// else runs to a comma or line end.
class FreeFieldReader
{
public:
    explicit FreeFieldReader(const QString &text) : mText(text) {}

    bool next(QString &item)
    {
        while (mPos < mText.size() && (mText[mPos] == u' ' || mText[mPos] == u'\t'))
            ++mPos;
        if (mPos >= mText.size())
            return false;
        if (mText[mPos] == u'"') {
            const qsizetype close = mText.indexOf(u'"', mPos + 1);
            const qsizetype end = close < 0 ? mText.size() : close;
            item = mText.mid(mPos + 1, end - mPos - 1);
            mPos = end + 1;
            // Whatever follows the closing quote up to the delimiter is not part of it.
            while (mPos < mText.size() && !isDelimiter(mText[mPos]))
                ++mPos;
        } else {
            const qsizetype start = mPos;
            while (mPos < mText.size() && !isDelimiter(mText[mPos]))
                ++mPos;
            item = mText.mid(start, mPos - start);
        }
        skipDelimiter();
        return true;
    }

private:
    static bool isDelimiter(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }

    void skipDelimiter()
    {
        if (mPos >= mText.size())
            return;
        if (mText[mPos] == u'\r' && mPos + 1 < mText.size() && mText[mPos + 1] == u'\n')
            ++mPos;
        ++mPos;
    }

    const QString &mText;
    qsizetype mPos = 0;
};

} // namespace

QString ChipDescriptions::locate(const QString &programFolder)
{
    const QDir dir(programFolder);
    const QString beside = dir.filePath(fileName());
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/qzk-editor/")) + u'/' + fileName());
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

ChipDescriptions::LoadResult ChipDescriptions::load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return failure(Status::Missing, QStringLiteral("ファイルが見つかりません。"));
    if (!file.open(QIODevice::ReadOnly))
        return failure(Status::Failed,
                       QStringLiteral("ファイルを開けません。(%1)").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(Status::Failed,
                       QStringLiteral("ファイルを読み込めません。(%1)").arg(file.errorString()));
    return parse(bytes);
}

ChipDescriptions::LoadResult ChipDescriptions::parse(const QByteArray &bytes)
{
    QString text;
    CodePage932::decode(bytes, text, QChar::ReplacementCharacter);
    FreeFieldReader reader(text);
    std::array<QString, CodeTables::ChipCount> texts;
    for (QString &item : texts) {
        if (!reader.next(item))
            return failure(Status::Failed,
                           QStringLiteral("ファイルの終わりを超えて読み込もうとしました。"));
    }
    mTexts = texts;
    return {};
}

QString ChipDescriptions::description(int chip) const
{
    if (chip < 0 || chip >= CodeTables::ChipCount)
        return {};
    return mTexts[chip];
}

QString ChipDescriptions::describe(int chip, const QString &number) const
{
    QString text = description(chip);
    const qsizetype mark = text.indexOf(u'?');
    if (mark >= 0)
        text.replace(mark, 1, number);
    return text;
}

ChipDescriptions::LoadResult ChipDescriptions::failure(Status status, const QString &reason)
{
    return {status, QStringLiteral("Tavolin.datを読み込み中にエラーが発生しました。\r\n") + reason};
}
