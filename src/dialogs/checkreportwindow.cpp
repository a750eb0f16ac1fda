#include "dialogs/checkreportwindow.h"

#include <QListWidget>

#include <algorithm>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int ListWidthMargin = 105; // twips
constexpr int ListHeightMargin = 595;

int pixels(int twips)
{
    return twips / TwipsPerPixel;
}

// The report's face, or the nearest installed Japanese face of the same kind when it is
// missing; the later names only steer the fallback.
QFont reportFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

CheckReportWindow::CheckReportWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), mList(new QListWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("マップチェックの結果報告"));
    mList->setObjectName(QStringLiteral("reportList"));
    mList->setFont(reportFont());
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->move(0, 0);
    connect(mList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = mList->row(item);
        if (row < 0 || row >= mPlaces.size() || !mPlaces[row].isValid())
            return;
        const MapCheck::Place &place = mPlaces[row];
        Q_EMIT placeChosen(place.floor, QPoint(place.x, place.y));
    });
    resize(pixels(5505), pixels(3255));
    fitList();
}

void CheckReportWindow::showReport(const MapCheck::Report &report)
{
    showReport(report.lines);
    mPlaces = report.places;
}

void CheckReportWindow::showReport(const QStringList &lines)
{
    mPlaces.clear();
    mList->clear();
    mList->addItems(lines);
    show();
    raise();
    activateWindow();
}

QStringList CheckReportWindow::lines() const
{
    QStringList lines;
    lines.reserve(mList->count());
    for (int i = 0; i < mList->count(); ++i)
        lines.append(mList->item(i)->text());
    return lines;
}

QSize CheckReportWindow::listSizeFor(QSize outerWindowSize)
{
    const int width = outerWindowSize.width() * TwipsPerPixel - ListWidthMargin;
    const int height = outerWindowSize.height() * TwipsPerPixel - ListHeightMargin;
    return {pixels(std::max(0, width)), pixels(std::max(0, height))};
}

void CheckReportWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitList();
}

// The frame is known only once the window is on screen.
void CheckReportWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fitList();
}

// The margins are measured from the outer window, title bar and borders included.
void CheckReportWindow::fitList()
{
    mList->resize(listSizeFor(frameGeometry().size()));
}
