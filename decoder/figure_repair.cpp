// The repair map is not the ITA2 letters/figures pairing: it is the pairing
// seen in practice on the received bulletins, and it leaves I untouched.
#include "figure_repair.h"

namespace nimbo {
namespace {

char RepairFigure(char c) {
  switch (c) {
    case 'E': return '4';
    case 'O': return '8';
    case 'P': return '9';
    case 'Q': return '1';
    case 'R': return '5';
    case 'T': return '6';
    case 'U': return '3';
    case 'V': return '=';
    case 'W': return '2';
    case 'X': return '/';
    case 'Y': return '7';
    default: return c;
  }
}

}  // namespace

std::string RepairFigures(std::string_view token) {
  std::string repaired(token);
  for (char& c : repaired) c = RepairFigure(c);
  return repaired;
}

}  // namespace nimbo
