// Symbol tables drawn after the WMO shapes: each row is a code figure and its
// drawing. The station circle of the cover table has radius 10; every other
// symbol fits the box from -10 to 10.
#include "weather_symbols.h"

#include <array>
#include <string_view>

#include "symbol_drawing.h"

namespace synoptic {
namespace {

struct SymbolRow {
    int figure;
    std::string_view drawing;
};

// Code table 4677 (ww), present weather reported from a manned station
constexpr std::array<SymbolRow, 100> kPresentWeather = {{
    {0, "O 0 0 6"},
    {1, "O 0 0 6 M 0 6 L 0 9"},
    {2, "O 0 0 6 M 6 0 L 9 0 M -6 0 L -9 0"},
    {3, "O 0 0 6 M 0 -6 L 0 -9"},
    {4,
     "M -7 9 L -7 -6 C -7 -8.2 -3.8 -8.2 -3.8 -6 C -3.8 -3.8 -0.6 -3.8 -0.6 -6 "
     "C -0.6 -8.2 2.6 -8.2 2.6 -6 C 2.6 -3.8 5.8 -3.8 5.8 -6"},
    {5,
     "M 0 0 C 2.5 -4.5 7.5 -4.5 7.5 0 C 7.5 4.5 2.5 4.5 0 0 C -2.5 -4.5 -7.5 -4.5 -7.5 0 "
     "C -7.5 4.5 -2.5 4.5 0 0"},
    {6, "S 0 0"},
    {7, "S 0 0 M 0 -8 L 0 8"},
    {8,
     "M 3.3 -6.8 C 2.7 -8 -3.8 -8 -3.8 -4.5 C -3.8 0 3.3 0 3.3 -2.3 C 3.3 -4.5 -3.8 -4.5 "
     "-3.8 0 C -3.8 4.5 3.3 4.5 3.3 2.3 C 3.3 0 -3.8 0 -3.8 4.5 C -3.8 8 2.4 8 3.3 6.8"},
    {9, "S -0.5 0 arrow -5.5 5 0 A 2 0 10 150 210 A -2 0 10 -30 30"},
    {10, "M -7 -2 L 7 -2 M -7 2 L 7 2"},
    {11,
     "M -6.5 -3.4 L -1.2 -3.4 M 1.2 -3.4 L 6.5 -3.4 M -6.5 0 L -1.2 0 M 1.2 0 L 6.5 0 "
     "M -6.5 3.4 L -1.2 3.4 M 1.2 3.4 L 6.5 3.4"},
    {12,
     "M -6.5 -3.4 L -1.2 -3.4 M 1.2 -3.4 L 6.5 -3.4 M -6.5 0 L -1.2 0 M 1.2 0 L 6.5 0 "
     "M -6.5 3.4 L 6.5 3.4"},
    {13, "M 3 -6.5 L -2.4 0.7 L 3.3 6 F M 3.8 6.5 L 1.3 6 L 3.2 4 Z"},
    {14, "dot 0 -2 M -6.7 0.5 C -3 4 3 4 6.7 0.5"},
    {15, "dot 0 0 A -15.7 0 9 -40 40 A 15.7 0 9 140 220"},
    {16, "dot 0 0 A 4.5 0 9 140 220 A -4.5 0 9 -40 40"},
    {17, "storm 0 0"},
    {18, "M 0 -4 L 5.8 -6.7 L 0 6.4 L -5.8 -6.7 Z"},
    {19,
     "M -4.1 -7.4 L -1.3 -4.9 L -1.3 4.9 L -4.1 7.4 M 4.1 -7.4 L 1.3 -4.9 L 1.3 4.9 "
     "L 4.1 7.4"},
    {20, "comma -2 -1 bracket"},
    {21, "dot -2 0 bracket"},
    {22, "star -2 0 bracket"},
    {23, "dot -2 -3.5 star -2 3 bracket"},
    {24, "freeze -2 0 bracket"},
    {25, "dot -2 -5 shower -2 2 bracket"},
    {26, "star -2 -5.5 shower -2 2 bracket"},
    {27, "pellet -2 -5 shower -2 2.5 bracket"},
    {28, "M -8 -3.4 L 3 -3.4 M -8 0 L 3 0 M -8 3.4 L 3 3.4 bracket"},
    {29, "storm -3 0 bracket"},
    {30, "S -1 0 arrow -7 5 0 M 7.5 -7 L 7.5 7"},
    {31, "S 0 0 arrow -6.5 6.5 0"},
    {32, "S 1 0 arrow -5 7 0 M -7.5 -7 L -7.5 7"},
    {33, "S -1 0 darrow -7 5.5 0 M 7.5 -7 L 7.5 7"},
    {34, "S 0 0 darrow -6.5 7 0"},
    {35, "S 1 0 darrow -5 7.5 0 M -7.5 -7 L -7.5 7"},
    {36, "arrow -6 6 0 varrow 0 -6 6"},
    {37, "darrow -6 6.5 0 varrow 0 -6 6"},
    {38, "arrow -6 6 0 varrow 0 6 -6"},
    {39, "darrow -6 6.5 0 varrow 0 6 -6"},
    {40, "M -6 -3.4 L 6 -3.4 M -6 0 L 6 0 M -6 3.4 L 6 3.4 A 3 0 10 150 210 A -3 0 10 -30 30"},
    {41,
     "M -6.3 -3.4 L -1.2 -3.4 M 1.2 -3.4 L 6.3 -3.4 M -6.3 0 L 6.3 0 M -6.3 3.4 "
     "L -1.2 3.4 M 1.2 3.4 L 6.3 3.4"},
    {42,
     "M -7.2 -3.4 L -2.2 -3.4 M 0 -3.4 L 5 -3.4 M -7.2 0 L 5 0 M -7.2 3.4 L 5 3.4 "
     "M 6.7 -4 L 6.7 4"},
    {43, "M -7.2 -3.4 L 5 -3.4 M -7.2 0 L 5 0 M -7.2 3.4 L 5 3.4 M 6.7 -4 L 6.7 4"},
    {44, "M -6.3 -3.4 L -1.2 -3.4 M 1.2 -3.4 L 6.3 -3.4 M -6.3 0 L 6.3 0 M -6.3 3.4 L 6.3 3.4"},
    {45, "fog 0 0"},
    {46,
     "M 7.2 -3.4 L 2.2 -3.4 M 0 -3.4 L -5 -3.4 M 7.2 0 L -5 0 M 7.2 3.4 L -5 3.4 "
     "M -6.7 -4 L -6.7 4"},
    {47, "M 7.2 -3.4 L -5 -3.4 M 7.2 0 L -5 0 M 7.2 3.4 L -5 3.4 M -6.7 -4 L -6.7 4"},
    {48,
     "M -6.3 -3.4 L -3.1 -3.4 L 0 2.7 L 3.1 -3.4 L 6.3 -3.4 M -6.3 0 L 6.3 0 M -6.3 3.4 "
     "L 6.3 3.4"},
    {49,
     "M -6.3 -3.4 L -3.1 -3.4 L 0 2.7 L 3.1 -3.4 L 6.3 -3.4 M -3.1 -3.4 L 3.1 -3.4 "
     "M -6.3 0 L 6.3 0 M -6.3 3.4 L 6.3 3.4"},
    {50, "comma 0 -1"},
    {51, "comma -2.5 -1 comma 2.5 -1"},
    {52, "comma 0 -4 comma 0 2"},
    {53, "comma 0 -4 comma -2.5 2 comma 2.5 2"},
    {54, "comma 0 -7 comma 0 -1.5 comma 0 4"},
    {55, "comma 0 -6 comma -3.5 -1 comma 3.5 -1 comma 0 4"},
    {56, "comma -7 -1 freeze 1.5 0"},
    {57, "comma -7 -3.5 comma -7 2 freeze 1.5 0"},
    {58, "comma 0 -4 dot 0 3"},
    {59, "comma 0 -7 dot 0 0 comma 0 4.5"},
    {60, "dot 0 0"},
    {61, "dot -2.5 0 dot 2.5 0"},
    {62, "dot 0 -2.8 dot 0 2.8"},
    {63, "dot 0 -2.8 dot -2.6 2 dot 2.6 2"},
    {64, "dot 0 -5.2 dot 0 0 dot 0 5.2"},
    {65, "dot 0 -4.6 dot -4 0 dot 4 0 dot 0 4.6"},
    {66, "dot -7 0 freeze 1.5 0"},
    {67, "dot -7 -2.6 dot -7 2.6 freeze 1.5 0"},
    {68, "dot 0 -3.5 star 0 3"},
    {69, "dot 0 -6 star 0 0 dot 0 6"},
    {70, "star 0 0"},
    {71, "star -3 0 star 3 0"},
    {72, "star 0 -3 star 0 3"},
    {73, "star 0 -3 star -3 2.5 star 3 2.5"},
    {74, "star 0 -6 star 0 0 star 0 6"},
    {75, "star 0 -5.5 star -3.6 0 star 3.6 0 star 0 5.5"},
    {76, "M -3.3 -1.6 L -5.8 0 L -3.3 1.6 M 3.3 -1.6 L 5.8 0 L 3.3 1.6 M -5.5 0 L 5.5 0"},
    {77, "M 0 -2.9 L 3.1 2.4 L -3.1 2.4 Z M -6.5 0 L 6.5 0"},
    {78, "M -1.8 -1.8 L 1.8 1.8 M 1.8 -1.8 L -1.8 1.8 M -5.5 0 L 5.5 0"},
    {79, "M 0 -4.2 L 5.4 5.2 L -5.4 5.2 Z dot 0 2.3"},
    {80, "dot 0 -5 shower 0 2"},
    {81, "dot 0 -5 showerbar 0 2"},
    {82, "dot 0 -7.5 dot 0 -3.2 shower 0 3.5"},
    {83, "dot 0 -8 star 0 -3.2 shower 0 3.8"},
    {84, "dot 0 -8 star 0 -3.2 showerbar 0 3.8"},
    {85, "star 0 -5 shower 0 2"},
    {86, "star 0 -5 showerbar 0 2"},
    {87, "pellet 0 -5 shower 0 2"},
    {88, "pellet 0 -5 showerbar 0 2"},
    {89, "hail 0 -5 shower 0 2"},
    {90, "hail 0 -5 showerbar 0 2"},
    {91, "storm -5 0 M 1.5 -8.3 L 4 -8.3 L 4 8.3 L 1.5 8.3 dot 7.5 0"},
    {92, "storm -5 0 M 1.5 -8.3 L 4 -8.3 L 4 8.3 L 1.5 8.3 dot 7.5 -2.6 dot 7.5 2.6"},
    {93, "storm -5 0 M 1.5 -8.3 L 4 -8.3 L 4 8.3 L 1.5 8.3 star 7.5 -3 pellet 7.5 3.2"},
    {94,
     "storm -5 0 M 1.5 -8.3 L 4 -8.3 L 4 8.3 L 1.5 8.3 star 7.5 -5.5 star 7.5 0 pellet 7.5 5.5"},
    {95, "storm 0 2.5 dot -2.5 -7.3 star 2.5 -7.3"},
    {96, "storm 0 2.5 pellet 0 -7"},
    {97, "heavystorm 0 2.5 dot -2.5 -7.3 star 2.5 -7.3"},
    {98,
     "storm 0 2.5 M 1 -8.6 C 1 -9.8 -1 -9.8 -1 -8.6 C -1 -7.4 1 -7.4 1 -6.2 C 1 -5 -1 -5 "
     "-1 -6.2 arrow -3.5 3.5 -7.4"},
    {99, "heavystorm 0 2.5 pellet 0 -7"},
}};

// Code table 4561 (W), past weather from a manned station; 0-2 are not plotted
constexpr std::array<SymbolRow, 10> kPastWeather = {{
    {0, ""},
    {1, ""},
    {2, ""},
    {3, "S -1 0 arrow -6 6 0"},
    {4, "fog 0 0"},
    {5, "comma 0 -1"},
    {6, "dot 0 0"},
    {7, "star 0 0"},
    {8, "shower 0 0"},
    {9, "storm 0 0"},
}};

// Code table 2700 (N), total cloud cover in oktas, as the filled station circle
constexpr std::array<SymbolRow, 11> kCloudCover = {{
    {0, "O 0 0 10"},
    {1, "O 0 0 10 M 0 -10 L 0 10"},
    {2, "P 0 0 10 -90 0 O 0 0 10"},
    {3, "P 0 0 10 -90 0 O 0 0 10 M 0 -10 L 0 10"},
    {4, "P 0 0 10 -90 90 O 0 0 10"},
    {5, "P 0 0 10 -90 90 O 0 0 10 M -10 0 L 10 0"},
    {6, "P 0 0 10 -90 180 O 0 0 10"},
    {7, "G 0 0 10 -81.4 81.4 G 0 0 10 98.6 261.4 O 0 0 10"},
    {8, "D 0 0 10"},
    {9, "O 0 0 10 M -7.07 -7.07 L 7.07 7.07 M 7.07 -7.07 L -7.07 7.07"},
    {kCoverNotReported, "O 0 0 10 M -8.5 -3.5 L 8.5 -3.5 M -8.5 3.5 L 8.5 3.5"},
}};

// Code table 0200 (a), characteristic of the pressure tendency
constexpr std::array<SymbolRow, 9> kTendency = {{
    {0, "M -5 4 L -0.5 -4 L 4 1.5"},
    {1, "M -5 4 L -0.5 -4 L 5 -4"},
    {2, "M -4 4 L 4 -4"},
    {3, "M -5 -1.5 L -1.5 4 L 5 -4.5"},
    {4, "M -5 0 L 5 0"},
    {5, "M -5 -4 L -0.5 4 L 4 -1.5"},
    {6, "M -5 -4 L -0.5 4 L 5 4"},
    {7, "M -4 -4 L 4 4"},
    {8, "M -5 1.5 L -1.5 -4 L 5 4.5"},
}};

// Code table 0513 (CL), clouds of the genera Sc, St, Cu and Cb
constexpr std::array<SymbolRow, 10> kLowCloud = {{
    {0, ""},
    {1, "M -6 2.5 L 6 2.5 A 0 2.5 6 0 -180"},
    {2, "M -6 4.5 L 6 4.5 A 0 4.5 6 0 -180 A 0 -1.5 3 0 -180"},
    {3, "M -6 6 L 6 6 A 0 6 6 0 -180 A 0 0 3.5 0 -180 M 0 -7 L 0 0.5"},
    {4, "A 0 1 7 -180 0 M -7 1 L -3.5 1 A 0 1 3.5 180 0 M 3.5 1 L 7 1"},
    {5, "M -7 0 L -3.5 0 A 0 0 3.5 180 0 M 3.5 0 L 7 0"},
    {6, "M -7 0 L 7 0"},
    {7, "M -7 1 L -3 1 M -1.8 -1 L 1.8 -1 M 3 1 L 7 1"},
    {8, "M -5 -2 L 5 -2 A 0 -2 5 0 -180 M -7 4 L -3 4 A 0 4 3 180 0 M 3 4 L 7 4"},
    {9, "M -6 6 L 6 6 A 0 6 6 0 -180 M -3 0.5 L -5.5 -7 L 5.5 -7 L 3 0.5"},
}};

// Code table 0515 (CM), clouds of the genera Ac, As and Ns
constexpr std::array<SymbolRow, 10> kMiddleCloud = {{
    {0, ""},
    {1, "M 6.5 -4.5 L -6.5 3 L 6.5 3"},
    {2, "M 6.5 -4.5 L -6.5 3 L 6.5 3 M -2.5 3 L 6.5 -1.5"},
    {3, "A -3 -1 3 0 180 A 3 -1 3 0 180"},
    {4, "A 0 3 6.5 -150 -30 A 0 -6.5 6.5 30 150"},
    {5, "A -3 -1 3 0 180 A 3 -1 3 0 180 M 7 -5 L -7 4"},
    {6, "A -3 -2 3 0 180 M -6 5 L 6 5 A 0 5 3 -180 0"},
    {7, "A -3 -2 3 0 180 M -7 4 L 7 -3 M 0 4 L 7 4 A 3.5 4 3.5 0 -180"},
    {8, "M -3 -5 L -3 2 M 3 -5 L 3 2 A 0 2 3 0 180"},
    {9, "M 7 -5 L -7 4 A -2 -1 3 0 180 A 3 0 2.5 -60 150"},
}};

// Code table 0509 (CH), clouds of the genera Ci, Cc and Cs
constexpr std::array<SymbolRow, 10> kHighCloud = {{
    {0, ""},
    {1, "M -7 4 L 3 4 A 3 0 4 90 -90"},
    {2, "M -7 3 L 6 3 A 1 0 3 90 -90 A 5.5 0 3 90 -90"},
    {3, "M -7 -4 L 3 -4 C 6 -4 6.5 0 4 1 C 2 1.8 0 2 0 5"},
    {4, "M -6 5 L 4 -4 A 5.5 -2 2.5 -150 60"},
    {5, "M 7 4 L -7 4 L -3 0.5 A -0.3 -1.5 3 -150 60"},
    {6, "M 0 4 L -7 4 L 6 -4 A 6 -1 3 -90 90"},
    {7,
     "M -7 4 L 7 4 M -7 4 L -3.5 0.8 M 7 4 L 3.5 0.8 A -2 -1 2.5 -150 60 "
     "A 2 -1 2.5 120 330"},
    {8, "M 7 4 L -7 4 L -3 0.5"},
    {9, "A -3 1 3 0 180 A 3 1 3 0 180 M -7 -1 L 2 -6 A 3 -4 2.5 -120 90"},
}};

const std::vector<Shape> kNoShapes;

// The shapes of one table, parsed at first use.
template <const auto& kTable>
const std::vector<Shape>& Parsed(int figure) {
    constexpr std::size_t kSize = kTable.size();
    static const std::array<std::vector<Shape>, kSize> parsed = [] {
        std::array<std::vector<Shape>, kSize> shapes;
        for (std::size_t i = 0; i < kSize; ++i) shapes[i] = ParseDrawing(kTable[i].drawing);
        return shapes;
    }();
    if (figure < 0 || static_cast<std::size_t>(figure) >= kSize) return kNoShapes;
    return parsed[static_cast<std::size_t>(figure)];
}

// Every row sits at the index of its figure.
template <std::size_t N>
constexpr bool FiguresInOrder(const std::array<SymbolRow, N>& table) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].figure != static_cast<int>(i)) return false;
    }
    return true;
}
static_assert(FiguresInOrder(kPresentWeather) && FiguresInOrder(kPastWeather) &&
              FiguresInOrder(kCloudCover) && FiguresInOrder(kTendency) &&
              FiguresInOrder(kLowCloud) && FiguresInOrder(kMiddleCloud) &&
              FiguresInOrder(kHighCloud));

}  // namespace

const std::vector<Shape>& Symbol(SymbolTable table, int figure) {
    switch (table) {
        case SymbolTable::kPresentWeather:
            return Parsed<kPresentWeather>(figure);
        case SymbolTable::kPastWeather:
            return Parsed<kPastWeather>(figure);
        case SymbolTable::kCloudCover:
            return Parsed<kCloudCover>(figure);
        case SymbolTable::kTendency:
            return Parsed<kTendency>(figure);
        case SymbolTable::kLowCloud:
            return Parsed<kLowCloud>(figure);
        case SymbolTable::kMiddleCloud:
            return Parsed<kMiddleCloud>(figure);
        case SymbolTable::kHighCloud:
            return Parsed<kHighCloud>(figure);
    }
    return kNoShapes;
}

}  // namespace synoptic
