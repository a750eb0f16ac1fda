#pragma once

#include "board/maproute.h"

#include <QWidget>

class BoardView;
class EditorSession;

// The map information's pictures laid over the board: the route numbered along its steps
// and the cells the start cannot reach, on the floor shown. A see-through layer of its own
// over the board view, so pointer input goes straight through to the board.
class RouteOverlay : public QWidget
{
    Q_OBJECT

public:
    RouteOverlay(EditorSession &session, BoardView &board);

    void setRoute(const MapRoute &route);
    const MapRoute &route() const { return mRoute; }
    void setRouteShown(bool on);
    void setUnreachableShown(bool on);
    bool isRouteShown() const { return mRouteShown; }
    bool isUnreachableShown() const { return mUnreachableShown; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();

    EditorSession &mSession;
    BoardView &mBoard;
    MapRoute mRoute;
    bool mRouteShown = false;
    bool mUnreachableShown = false;
};
