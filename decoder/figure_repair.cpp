// Both figure alphabets of the teleprinter (ITA2 and its US variant) put the
// figures 0 to 9, "/" and "=" on the same letter keys, so one pairing serves.
#include "figure_repair.h"

#include <array>

namespace nimbo {
namespace {

struct LetterFigure {
    char letter;
    char figure;
};

// The letters-shift letter of each figures-shift character a group may hold.
constexpr std::array<LetterFigure, 12> kPairing = {{
    {'Q', '1'},
    {'W', '2'},
    {'E', '3'},
    {'R', '4'},
    {'T', '5'},
    {'Y', '6'},
    {'U', '7'},
    {'I', '8'},
    {'O', '9'},
    {'P', '0'},
    {'X', '/'},
    {'V', '='},
}};

// Every token goes through the repair, so the pairing is looked up in a
// table by character, made from the list above.
constexpr std::array<char, 256> MakeFigureTable() {
    std::array<char, 256> table{};
    for (const LetterFigure& pair : kPairing)
        table[static_cast<unsigned char>(pair.letter)] = pair.figure;
    return table;
}
constexpr std::array<char, 256> kFigureOf = MakeFigureTable();

// The figure paired with `c`, or 0 when `c` is no such letter.
char PairedFigure(char c) { return kFigureOf[static_cast<unsigned char>(c)]; }

bool IsFigureOrSlash(char c) { return (c >= '0' && c <= '9') || c == '/'; }

// Out of line, so that the common case (nothing to repair) needs no stack
// frame for the copy.
[[gnu::noinline]] std::string_view WriteRepaired(std::string_view token, std::string& storage) {
    storage.assign(token);
    for (char& c : storage) {
        if (const char figure = PairedFigure(c)) c = figure;
    }
    return storage;
}

}  // namespace

bool RepairsToFigureGroup(std::string_view token) {
    if (token.empty()) return false;
    for (char c : token) {
        if (!IsFigureOrSlash(c) && !IsFigureOrSlash(PairedFigure(c))) return false;
    }
    return true;
}

std::string_view RepairFigures(std::string_view token, std::string& storage) {
    // Most groups arrive in figures: nothing to repair, nothing to copy.
    bool letters = false;
    for (char c : token) {
        if (IsFigureOrSlash(c)) continue;
        if (PairedFigure(c) == 0) return token;
        letters = true;
    }
    return letters ? WriteRepaired(token, storage) : token;
}

std::string RepairFigures(std::string_view token) {
    std::string storage;
    return std::string(RepairFigures(token, storage));
}

}  // namespace nimbo
