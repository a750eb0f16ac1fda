#include "board/chipline.h"

#include <QTest>

namespace {

QVector<QPoint> parseCells(const char *text)
{
    QVector<QPoint> cells;
    for (const QString &xy : QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts))
        cells.append(QPoint(xy.section(u',', 0, 0).toInt(), xy.section(u',', 1).toInt()));
    return cells;
}

// Cell k of the board, row by row from the top-left corner.
QPoint boardCell(int k)
{
    return {k % 24 + 1, k / 24 + 1};
}

QSet<QPoint> asSet(const QVector<QPoint> &cells)
{
    return QSet<QPoint>(cells.begin(), cells.end());
}

} // namespace

class TestChipLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void examples_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("target");
        QTest::addColumn<QVector<QPoint>>("cells");
        const auto row = [](const char *name, QPoint a, QPoint b, const char *cells) {
            QTest::newRow(name) << a << b << parseCells(cells);
        };
        row("right-down shallow", {1, 1}, {7, 3}, "1,1 2,1 3,1 3,2 4,2 5,2 5,3 6,3 7,3");
        row("left-up shallow (exchanged)", {7, 3}, {1, 1}, "1,1 2,1 3,1 3,2 4,2 5,2 5,3 6,3 7,3");
        row("right-up shallow", {1, 3}, {7, 1}, "1,3 2,3 3,3 3,2 4,2 5,2 6,2 6,1 7,1");
        row("left-down shallow", {7, 1}, {1, 3}, "7,1 6,1 5,1 5,2 4,2 3,2 3,3 2,3 1,3");
        row("right-down steep", {2, 2}, {4, 9}, "2,2 2,3 2,4 3,4 3,5 3,6 4,6 4,7 4,8 4,9");
        row("right-down steep reversed", {4, 9}, {2, 2}, "2,2 2,3 2,4 3,4 3,5 3,6 4,6 4,7 4,8 4,9");
        row("diagonal", {2, 2}, {5, 5}, "2,2 2,3 3,3 3,4 4,4 4,5 5,5");
        row("diagonal reversed", {5, 5}, {2, 2}, "2,2 2,3 3,3 3,4 4,4 4,5 5,5");
        row("single cell", {6, 6}, {6, 6}, "6,6");
        row("horizontal", {2, 5}, {8, 5}, "2,5 3,5 4,5 5,5 6,5 7,5 8,5");
        row("horizontal reversed", {8, 5}, {2, 5}, "8,5 7,5 6,5 5,5 4,5 3,5 2,5");
        row("vertical up (walked from the target)", {4, 9}, {4, 6}, "4,6 4,7 4,8 4,9");
    }
    void examples()
    {
        QFETCH(QPoint, start);
        QFETCH(QPoint, target);
        QTEST(chipLine(start, target), "cells");
    }

    // Every pair of cells on the board: the line has |dx|+|dy|+1 cells, each an
    // orthogonal neighbour of the one before, and it joins the two cells.
    void everyLineIsConnected()
    {
        for (int pair = 0; pair < 384 * 384; ++pair) {
            const QPoint a = boardCell(pair / 384), b = boardCell(pair % 384);
            const QVector<QPoint> line = chipLine(a, b);
            const auto which = [&] {
                return QString::asprintf("(%d,%d)-(%d,%d)", a.x(), a.y(), b.x(), b.y());
            };
            const int expected = (b - a).manhattanLength() + 1;
            if (line.size() != expected)
                QFAIL(qPrintable(which() + QString::asprintf(": %d cells, expected %d",
                                                             int(line.size()), expected)));
            if (QSet<QPoint>{line.first(), line.last()} != QSet<QPoint>{a, b})
                QFAIL(qPrintable(which() + QStringLiteral(" does not join its ends")));
            for (int i = 1; i < line.size(); ++i)
                if ((line[i] - line[i - 1]).manhattanLength() != 1)
                    QFAIL(qPrintable(which() + QString::asprintf(" jumps at step %d", i)));
        }
    }

    void reverseOfExchangedLinesCoversSameCells()
    {
        for (int pair = 0; pair < 384 * 384; ++pair) {
            const QPoint a = boardCell(pair / 384), b = boardCell(pair % 384);
            if (b.x() >= a.x() && b.y() >= a.y())
                QCOMPARE(asSet(chipLine(b, a)), asSet(chipLine(a, b)));
        }
    }

    void boardEdges_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("atEdge");
        QTest::newRow("top row, up") << 5 << 1 << 1 << true;
        QTest::newRow("top row, down") << 5 << 1 << 4 << false;
        QTest::newRow("left column, left") << 1 << 7 << 2 << true;
        QTest::newRow("left column, right") << 1 << 7 << 3 << false;
        QTest::newRow("right column, right") << 24 << 7 << 3 << true;
        QTest::newRow("bottom row, down") << 9 << 16 << 4 << true;
        QTest::newRow("inner cell, up") << 9 << 2 << 1 << false;
        QTest::newRow("corner, direction 0") << 1 << 1 << 0 << false;
        QTest::newRow("corner, direction 5") << 24 << 16 << 5 << false;
    }
    void boardEdges()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, direction);
        QTEST(isAtBoardEdge(x, y, direction), "atEdge");
    }
};

QTEST_APPLESS_MAIN(TestChipLine)
#include "tst_chipline.moc"
