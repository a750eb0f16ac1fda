#include "mainwindow/routeoverlay.h"

#include "mainwindow/boardview.h"
#include "painting/routepainter.h"
#include "session/editorsession.h"

#include <QEvent>
#include <QPainter>

RouteOverlay::RouteOverlay(EditorSession &session, BoardView &board)
    : QWidget(&board), mSession(session), mBoard(board)
{
    setObjectName(QStringLiteral("routeOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    board.installEventFilter(this);
    // The board redraws for a floor change, an edit and a zoom; the layer follows it.
    connect(&session, &EditorSession::boardRefreshed, this, qOverload<>(&QWidget::update));
    follow();
    hide();
}

void RouteOverlay::setRoute(const MapRoute &route)
{
    mRoute = route;
    update();
}

void RouteOverlay::setRouteShown(bool on)
{
    mRouteShown = on;
    setVisible(mRouteShown || mUnreachableShown);
    update();
}

void RouteOverlay::setUnreachableShown(bool on)
{
    mUnreachableShown = on;
    setVisible(mRouteShown || mUnreachableShown);
    update();
}

void RouteOverlay::follow()
{
    setGeometry(mBoard.rect());
    raise();
}

bool RouteOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &mBoard && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        follow();
    return QWidget::eventFilter(watched, event);
}

void RouteOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.scale(mBoard.scale(), mBoard.scale());
    const int floor = mSession.currentFloor();
    if (mRouteShown)
        RoutePainter::paintRoute(painter, mRoute, floor);
    if (mUnreachableShown)
        RoutePainter::paintUnreachable(painter, mRoute, floor);
}
