#pragma once
// The pixels of a line as GDI draws it: Bresenham from the start point up to, not including,
// the end point.

#include "Types.h"

#include <cstdlib>

// Calls visit(x, y) for every pixel of the line from `from` to `to`, the end point left out.
template <typename TVisit>
void WalkLine(CPoint from, CPoint to, TVisit&& visit)
{
    int x = from.x, y = from.y;
    const int dx = std::abs(to.x - x), dy = -std::abs(to.y - y);
    const int sx = x < to.x ? 1 : -1, sy = y < to.y ? 1 : -1;
    int error = dx + dy;
    while (x != to.x || y != to.y) {
        visit(x, y);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}
