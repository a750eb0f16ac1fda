#include "dialogs/checkreportwindow.h"

#include "board/mapcheck.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int ClientWidth = 5505; // twips
constexpr int ClientHeight = 3255;
// A report of a map without surprises: starts, goals, warps, the road, the rule, the verdict.
constexpr int UsualLines = 6;

QString title()
{
    return QStringLiteral("マップチェックの結果報告");
}

} // namespace

// The report's face, or the nearest installed Japanese face of the same kind when it is
// missing; the later names only steer the fallback.
QFont CheckReportWindow::reportFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

CheckReportWindow::CheckReportWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), mList(new QListWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title());
    mList->setObjectName(QStringLiteral("reportList"));
    mList->setFont(reportFont());
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mList);
    connect(mList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { chooseLine(mList->row(item)); });
    // Enter on a line does what a double click does.
    mList->installEventFilter(this);
    resize(initialSize());
}

bool CheckReportWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mList->currentRow() >= 0) {
            chooseLine(mList->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CheckReportWindow::chooseLine(int row)
{
    if (mStale) {
        Q_EMIT staleLineChosen(
            QStringLiteral("マップが変更されています。もう一度マップのチェックをして下さい。"));
        return;
    }
    if (row < 0 || row >= mPlaces.size() || !mPlaces[row].isValid())
        return;
    const MapCheck::Place &place = mPlaces[row];
    Q_EMIT placeChosen(place.floor, QPoint(place.x, place.y));
}

void CheckReportWindow::showReport(const MapCheck::Report &report)
{
    showReport(report.lines);
    mPlaces = report.places;
}

QSize CheckReportWindow::initialSize() const
{
    const QFontMetrics metrics = mList->fontMetrics();
    QStringList widest = MapCheck::widestLineCandidates();
    widest.append(MapCheck::separatorLine());
    int lineWidth = 0;
    for (const QString &line : widest)
        lineWidth = std::max(lineWidth, metrics.horizontalAdvance(line));
    const int frame = 2 * mList->frameWidth();
    // Room for a vertical scroll bar, should a long report need one, and the item's padding.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mList);
    const int width = lineWidth + frame + scrollBar + 8;
    const int height = UsualLines * (metrics.lineSpacing() + 4) + frame;
    return QSize(ClientWidth / TwipsPerPixel, ClientHeight / TwipsPerPixel)
        .expandedTo(QSize(width, height));
}

void CheckReportWindow::markStale()
{
    if (mStale)
        return;
    mStale = true;
    setWindowTitle(title() + QStringLiteral("（変更前のマップ）"));
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int i = 0; i < mList->count(); ++i)
        mList->item(i)->setForeground(grey);
}

void CheckReportWindow::showReport(const QStringList &lines)
{
    mStale = false;
    setWindowTitle(title());
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
