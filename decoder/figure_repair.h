// Figure repair: undoes a lost figures shift, where a teleprinter printed a
// group in letters shift and so shows the letters that share keys with its
// figures.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// A token made only of figures, "/" and the letters that ITA2 pairs with
// figures (Q1 W2 E3 R4 T5 Y6 U7 I8 O9 P0, X for "/", V for "=") is turned
// back into figures. A token holding any other character (a word such as
// "NIL") was not sent in figures and is returned unchanged.
//
// Most tokens need no repair: the token itself is returned then, and
// `storage` is left alone; a repaired token is written to `storage`, and the
// view returned points there.
std::string_view RepairFigures(std::string_view token, std::string& storage);
// The same, as a string of its own.
std::string RepairFigures(std::string_view token);

// True when RepairFigures(token) is a group of figures and "/" (not empty),
// without making the repaired text.
bool RepairsToFigureGroup(std::string_view token);

}  // namespace nimbo
