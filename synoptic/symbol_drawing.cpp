// Reader of the symbol drawing language: named marks expand into the plain
// commands, which become path, circle and disc shapes.
#include "symbol_drawing.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace synoptic {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Plain commands of a named mark, empty for an unknown word. Each mark is
// written for the origin; "@" before a coordinate adds the mark's position.
std::string MarkAt(std::string_view word) {
    if (word == "dot") return "D @0 @0 1.7";
    if (word == "comma") return "D @0 @-0.3 1.5 M @1.2 @-0.3 C @1.3 @1.5 @0.4 @2.8 @-1 @3.6";
    if (word == "star")
        return "M @-2.6 @0 L @2.6 @0 M @-1.3 @-2.25 L @1.3 @2.25 M @1.3 @-2.25 L @-1.3 @2.25";
    if (word == "pellet") return "M @0 @-2.6 L @2.6 @1.9 L @-2.6 @1.9 Z";
    if (word == "hail") return "F M @0 @-2.6 L @2.6 @1.9 L @-2.6 @1.9 Z";
    if (word == "S")
        return "M @2.8 @-4.2 C @2.2 @-6 @-3.2 @-6 @-3.2 @-2.6 C @-3.2 @0 @3.2 @0 @3.2 @2.6 "
               "C @3.2 @6 @-2.2 @6 @-2.8 @4.2";
    if (word == "fog") return "M @-6 @-3.4 L @6 @-3.4 M @-6 @0 L @6 @0 M @-6 @3.4 L @6 @3.4";
    if (word == "freeze")
        return "M @-5 @-0.8 L @-5 @0 C @-5 @3.2 @0 @3.2 @0 @0 C @0 @-3.2 @5 @-3.2 @5 @0 L @5 @0.8";
    if (word == "shower") return "M @-3.2 @-3.5 L @3.2 @-3.5 L @0 @4 Z";
    if (word == "showerbar") return "M @-3.2 @-3.5 L @3.2 @-3.5 L @0 @4 Z M @-2.1 @-1 L @2.1 @-1";
    if (word == "storm")
        return "M @-3.8 @-6.3 L @-3.8 @7 M @-5.2 @-6.3 L @3.4 @-6.3 L @-1.6 @0.7 L @3.4 @5.8 "
               "F M @3.9 @6.3 L @1.4 @5.9 L @3.5 @3.8 Z";
    if (word == "heavystorm")
        return "M @-3.8 @-6.3 L @-3.8 @7 M @-5.2 @-6.3 L @3.4 @-6.3 L @0.7 @-0.5 L @3.4 @2.4 "
               "L @0.7 @5.3 F M @0.3 @6.1 L @0.4 @3.6 L @2.3 @5 Z";
    if (word == "bracket") return "M @4.6 @-8.3 L @7.1 @-8.3 L @7.1 @8.3 L @4.6 @8.3";
    return {};
}

struct Reader {
    std::string_view text;
    std::size_t at = 0;

    bool Word(std::string_view* word) {
        while (at < text.size() && text[at] == ' ') ++at;
        if (at >= text.size()) return false;
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ') ++at;
        *word = text.substr(start, at - start);
        return true;
    }
    // A number, or "@n": n plus the current mark's offset on this axis.
    bool Number(double* value, double offset) {
        std::string_view word;
        if (!Word(&word)) return false;
        double shift = 0;
        if (!word.empty() && word[0] == '@') {
            word.remove_prefix(1);
            shift = offset;
        }
        const auto result = std::from_chars(word.data(), word.data() + word.size(), *value);
        if (result.ec != std::errc() || result.ptr != word.data() + word.size()) return false;
        *value += shift;
        return true;
    }
};

class DrawingParser {
  public:
    explicit DrawingParser(double strokeWidth) : m_strokeWidth(strokeWidth) {}

    void Parse(std::string_view drawing, Point origin) {
        Reader reader{drawing};
        std::string_view word;
        while (reader.Word(&word)) {
            if (!Command(reader, word, origin)) return;
        }
    }
    std::vector<Shape> Take() {
        EndPath();
        return std::move(m_shapes);
    }

  private:
    bool Read(Reader& reader, double* values, int count, Point origin) {
        for (int i = 0; i < count; ++i) {
            if (!reader.Number(&values[i], i % 2 == 0 ? origin.x : origin.y)) return false;
        }
        return true;
    }

    bool Command(Reader& reader, std::string_view word, Point origin) {
        double v[6];
        if (word == "F") {
            EndPath();
            m_fillNext = true;
            return true;
        }
        if (word == "M" || word == "L") {
            if (!Read(reader, v, 2, origin)) return false;
            // A move starts another stroke of the same path, unless a fill
            // begins or ends there.
            if (word == "M" && (m_fillNext || m_path.filled)) EndPath();
            if (m_path.path.empty()) StartPath();
            m_path.path.push_back({word == "M" ? PathOp::kMove : PathOp::kLine, {{v[0], v[1]}}});
            return true;
        }
        if (word == "C") {
            if (!Read(reader, v, 6, origin)) return false;
            m_path.path.push_back({PathOp::kCubic, {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}}});
            return true;
        }
        if (word == "Z") {
            m_path.path.push_back({PathOp::kClose, {}});
            return true;
        }
        if (word == "O" || word == "D") {
            if (!Read(reader, v, 3, origin)) return false;
            EndPath();
            Shape circle;
            circle.kind = ShapeKind::kCircle;
            circle.centre = {v[0], v[1]};
            circle.radius = v[2];
            circle.filled = word == "D";
            circle.stroked = word == "O";
            circle.strokeWidth = m_strokeWidth;
            m_shapes.push_back(circle);
            return true;
        }
        if (word == "A" || word == "P" || word == "G")
            return Arc(reader,
                       word == "A"   ? ArcKind::kArc
                       : word == "P" ? ArcKind::kPie
                                     : ArcKind::kSegment,
                       origin);
        return Mark(reader, word, origin);
    }

    enum class ArcKind { kArc, kPie, kSegment };

    bool Arc(Reader& reader, ArcKind kind, Point origin) {
        double v[5];
        if (!Read(reader, v, 2, origin)) return false;
        for (int i = 2; i < 5; ++i) {
            if (!reader.Number(&v[i], 0)) return false;
        }
        EndPath();
        StartPath();
        const Point centre{v[0], v[1]};
        const bool filled = kind != ArcKind::kArc;
        m_path.filled = filled;
        m_path.stroked = !filled;
        if (kind == ArcKind::kPie) m_path.path.push_back({PathOp::kMove, {centre}});
        AppendArc(m_path.path, centre, v[2], v[3], v[4], kind != ArcKind::kPie);
        if (filled) m_path.path.push_back({PathOp::kClose, {}});
        EndPath();
        return true;
    }

    bool Mark(Reader& reader, std::string_view word, Point origin) {
        double v[3];
        if (word == "bracket") {
            Parse(MarkAt(word), origin);
            return true;
        }
        if (word == "arrow" || word == "darrow") {
            if (!reader.Number(&v[0], origin.x) || !reader.Number(&v[1], origin.x) ||
                !reader.Number(&v[2], origin.y))
                return false;
            Arrow(word == "darrow", v[0], v[1], v[2]);
            return true;
        }
        if (word == "varrow") {
            if (!reader.Number(&v[0], origin.x) || !reader.Number(&v[1], origin.y) ||
                !reader.Number(&v[2], origin.y))
                return false;
            const double head = v[2] > v[1] ? -1.8 : 1.8;
            Parse("M " + Num(v[0]) + " " + Num(v[1]) + " L " + Num(v[0]) + " " + Num(v[2]) +
                      " F M " + Num(v[0]) + " " + Num(v[2]) + " L " + Num(v[0] - 1) + " " +
                      Num(v[2] + head) + " L " + Num(v[0] + 1) + " " + Num(v[2] + head) + " Z",
                  {0, 0});
            return true;
        }
        const std::string mark = MarkAt(word);
        if (mark.empty() || !Read(reader, v, 2, origin)) return false;
        Parse(mark, {v[0], v[1]});
        return true;
    }

    void Arrow(bool doubled, double x0, double x1, double y) {
        if (doubled) {
            Parse("M " + Num(x0) + " " + Num(y - 1) + " L " + Num(x1 - 1) + " " + Num(y - 1) +
                      " M " + Num(x0) + " " + Num(y + 1) + " L " + Num(x1 - 1) + " " + Num(y + 1) +
                      " M " + Num(x1 - 3) + " " + Num(y - 2.5) + " L " + Num(x1) + " " + Num(y) +
                      " L " + Num(x1 - 3) + " " + Num(y + 2.5),
                  {0, 0});
            return;
        }
        Parse("M " + Num(x0) + " " + Num(y) + " L " + Num(x1) + " " + Num(y) + " F M " +
                  Num(x1 + 0.4) + " " + Num(y) + " L " + Num(x1 - 1.8) + " " + Num(y - 1) + " L " +
                  Num(x1 - 1.8) + " " + Num(y + 1) + " Z",
              {0, 0});
    }

    static std::string Num(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }

    void StartPath() {
        m_path = Shape{};
        m_path.strokeWidth = m_strokeWidth;
        m_path.filled = m_fillNext;
        m_fillNext = false;
    }
    void EndPath() {
        if (!m_path.path.empty()) m_shapes.push_back(std::move(m_path));
        m_path = Shape{};
    }

    double m_strokeWidth;
    bool m_fillNext = false;
    Shape m_path;
    std::vector<Shape> m_shapes;
};

}  // namespace

void AppendArc(std::vector<PathElement>& path, Point centre, double radius, double fromDegrees,
               double toDegrees, bool move) {
    const double sweep = toDegrees - fromDegrees;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / 90.0)));
    const double step = sweep / pieces * kPi / 180.0;
    // Control distance of a cubic that follows a circular arc of `step`.
    const double k = 4.0 / 3.0 * std::tan(step / 4.0) * radius;
    double angle = fromDegrees * kPi / 180.0;
    const Point start{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
    path.push_back({move ? PathOp::kMove : PathOp::kLine, {start}});
    for (int i = 0; i < pieces; ++i) {
        const double next = angle + step;
        const Point a{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
        const Point b{centre.x + radius * std::cos(next), centre.y + radius * std::sin(next)};
        path.push_back({PathOp::kCubic,
                        {{a.x - k * std::sin(angle), a.y + k * std::cos(angle)},
                         {b.x + k * std::sin(next), b.y - k * std::cos(next)},
                         b}});
        angle = next;
    }
}

std::vector<Shape> ParseDrawing(std::string_view drawing, double strokeWidth) {
    DrawingParser parser(strokeWidth);
    parser.Parse(drawing, {0, 0});
    return parser.Take();
}

}  // namespace synoptic
