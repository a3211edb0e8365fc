// Decluttering: which station models fit on the map without one covering
// another, taken in order of priority (the newest report first).
#pragma once

#include <vector>

#include "plot_geometry.h"

namespace synoptic {

// Indexes of the boxes that are kept: each box in turn, in the order given,
// is kept when it overlaps no box kept before it. Empty boxes are skipped.
std::vector<std::size_t> Declutter(const std::vector<Rect>& boxesByPriority);

}  // namespace synoptic
