#pragma once

class MapRoute;
class QPainter;

// The map information's pictures over a floor: the shortest route tinted and numbered with
// the steps taken to each cell, and the cells the start cannot reach outlined.
namespace RoutePainter {

void paintRoute(QPainter &painter, const MapRoute &route, int floor);
void paintUnreachable(QPainter &painter, const MapRoute &route, int floor);

} // namespace RoutePainter
