// The small drawing language of the weather symbol tables, read into shapes.
//
// A drawing is a list of commands in a box from -10 to 10 on both axes, y
// down, each a word followed by numbers:
//   M x y, L x y, C x1 y1 x2 y2 x y, Z   a stroked path (F before M fills it)
//   O x y r / D x y r                     a stroked circle / a filled disc
//   A cx cy r from to / P ... / G ...     a stroked arc / a filled sector /
//                                         a filled segment (closed by its chord),
//                                         degrees clockwise from east
// and the named marks that many symbols share, each at its centre x y:
//   dot, comma, star, pellet (open triangle), hail (filled triangle), S (dust),
//   fog (three lines), freeze (the freezing wave), shower / showerbar (the
//   shower triangle, with the bar of a heavier shower), storm / heavystorm,
//   arrow x0 x1 y / darrow x0 x1 y (to the right), varrow x y0 y1 (vertical,
//   its head at y1), bracket (the past-hour bracket at the right edge).
#pragma once

#include <string_view>
#include <vector>

#include "plot_geometry.h"

namespace synoptic {

// Shapes of a drawing, in the units of its box, stroked `strokeWidth` wide.
// An unknown word or a missing number ends the drawing there.
std::vector<Shape> ParseDrawing(std::string_view drawing, double strokeWidth = 1.4);

// Path elements of an arc of a circle, as cubic pieces (the first element
// moves to its start when `move` is set, else draws a line to it).
void AppendArc(std::vector<PathElement>& path, Point centre, double radius, double fromDegrees,
               double toDegrees, bool move);

}  // namespace synoptic
