// Decluttering over a grid of cells, so each box is compared only with the
// kept boxes near it: linear in the number of stations.
#include "declutter.h"

#include <cmath>
#include <unordered_map>

namespace synoptic {
namespace {

constexpr double kCell = 64;

long long CellKey(long long column, long long row) { return column * 2000003LL + row; }

}  // namespace

std::vector<std::size_t> Declutter(const std::vector<Rect>& boxesByPriority) {
    std::vector<std::size_t> kept;
    std::unordered_map<long long, std::vector<std::size_t>> cells;
    for (std::size_t i = 0; i < boxesByPriority.size(); ++i) {
        const Rect& box = boxesByPriority[i];
        if (box.Empty()) continue;
        const auto firstColumn = static_cast<long long>(std::floor(box.left / kCell));
        const auto lastColumn = static_cast<long long>(std::floor(box.right / kCell));
        const auto firstRow = static_cast<long long>(std::floor(box.top / kCell));
        const auto lastRow = static_cast<long long>(std::floor(box.bottom / kCell));
        bool free = true;
        for (long long c = firstColumn; c <= lastColumn && free; ++c) {
            for (long long r = firstRow; r <= lastRow && free; ++r) {
                const auto cell = cells.find(CellKey(c, r));
                if (cell == cells.end()) continue;
                for (const std::size_t other : cell->second) {
                    if (box.Intersects(boxesByPriority[other])) {
                        free = false;
                        break;
                    }
                }
            }
        }
        if (!free) continue;
        kept.push_back(i);
        for (long long c = firstColumn; c <= lastColumn; ++c) {
            for (long long r = firstRow; r <= lastRow; ++r) cells[CellKey(c, r)].push_back(i);
        }
    }
    return kept;
}

}  // namespace synoptic
