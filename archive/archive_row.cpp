// Binding and reading walk the report the same way; the walk's n-th value is
// bound to (or read from) the column the layout gave it.
#include "archive_row.h"

#include <algorithm>
#include <cstring>

#include "cp1252.h"
#include "observation_fields.h"

namespace nimbo {
namespace {

// Every value of an archived report, in column order, with its column name.
template <class Report, class Visitor>
void VisitArchiveFields(Report& report, Visitor& v) {
    VisitObservationFields(report.observation, v);
    v.Errors("errors", report.observation.errors);
    v.Text("correction", report.observation.correction);
    v.Text("heading", report.observation.heading);
    v.Text("report", report.observation.report);
    v.Text("received", report.received);
}

// The columns, and for each value of the walk the column it goes to (-1 for
// a name the walk gave before).
struct Layout {
    std::vector<ArchiveColumn> columns;
    std::vector<int> columnOfVisit;

    void Add(const char* name, ColumnType type) {
        const auto same = [name](const ArchiveColumn& c) { return c.name == name; };
        const bool repeated = std::any_of(columns.begin(), columns.end(), same);
        columnOfVisit.push_back(repeated ? -1 : static_cast<int>(columns.size()));
        if (!repeated) columns.push_back({name, type});
    }
    void Text(const char* name, const std::string&) { Add(name, ColumnType::kText); }
    void Number(const char* name, const std::optional<int>&) { Add(name, ColumnType::kInteger); }
    void Number(const char* name, const std::optional<double>&) { Add(name, ColumnType::kReal); }
    void Flag(const char* name, bool) { Add(name, ColumnType::kFlag); }
    void Errors(const char* name, const std::vector<std::string>&) { Add(name, ColumnType::kText); }
};

const Layout& TheLayout() {
    static const Layout layout = [] {
        Layout l;
        const ArchivedReport report;
        VisitArchiveFields(report, l);
        return l;
    }();
    return layout;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class Binder {
  public:
    explicit Binder(sqlite3_stmt* statement) : m_statement(statement) {}

    void Text(const char*, const std::string& text) {
        const int parameter = Next();
        if (parameter == 0) return;
        if (text.empty()) {
            sqlite3_bind_null(m_statement, parameter);
        } else if (IsAscii(text)) {  // the common case: no copy
            sqlite3_bind_text(m_statement, parameter, text.data(), static_cast<int>(text.size()),
                              SQLITE_STATIC);
        } else {
            const std::string utf8 = Cp1252ToUtf8(text);
            sqlite3_bind_text(m_statement, parameter, utf8.data(), static_cast<int>(utf8.size()),
                              SQLITE_TRANSIENT);
        }
    }
    template <class Value>
    void Number(const char*, const std::optional<Value>& value) {
        const int parameter = Next();
        if (parameter == 0) return;
        if (!value) {
            sqlite3_bind_null(m_statement, parameter);
        } else if constexpr (std::is_same_v<Value, int>) {
            sqlite3_bind_int(m_statement, parameter, *value);
        } else {
            sqlite3_bind_double(m_statement, parameter, *value);
        }
    }
    void Flag(const char*, bool set) {
        if (const int parameter = Next()) sqlite3_bind_int(m_statement, parameter, set ? 1 : 0);
    }
    void Errors(const char*, const std::vector<std::string>& groups) {
        const int parameter = Next();
        if (parameter == 0) return;
        std::string joined;
        for (const std::string& group : groups) joined += (joined.empty() ? "" : " ") + group;
        if (joined.empty()) {
            sqlite3_bind_null(m_statement, parameter);
            return;
        }
        const std::string utf8 = Cp1252ToUtf8(joined);
        sqlite3_bind_text(m_statement, parameter, utf8.data(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }

  private:
    // Parameter number of the next value, 0 for a value bound already.
    int Next() { return TheLayout().columnOfVisit[m_visit++] + 1; }

    sqlite3_stmt* m_statement;
    std::size_t m_visit = 0;
};

// A value the walk gave before under the same name: the reader leaves it.
constexpr int kRepeated = -2;

class Reader {
  public:
    Reader(sqlite3_stmt* statement, const std::vector<int>& resultColumnOfVisit)
        : m_statement(statement), m_resultColumnOfVisit(resultColumnOfVisit) {}

    void Text(const char*, std::string& text) {
        const int column = Next();
        if (column == kRepeated) return;
        const auto* utf8 =
            column < 0 ? nullptr
                       : reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        text =
            utf8 == nullptr
                ? std::string()
                : Utf8ToCp1252(std::string_view(utf8, sqlite3_column_bytes(m_statement, column)));
    }
    template <class Value>
    void Number(const char*, std::optional<Value>& value) {
        const int column = Next();
        if (column == kRepeated) return;
        if (column < 0 || sqlite3_column_type(m_statement, column) == SQLITE_NULL) {
            value.reset();
        } else if constexpr (std::is_same_v<Value, int>) {
            value = sqlite3_column_int(m_statement, column);
        } else {
            value = sqlite3_column_double(m_statement, column);
        }
    }
    void Flag(const char*, bool& set) {
        const int column = Next();
        if (column == kRepeated) return;
        set = column >= 0 && sqlite3_column_int(m_statement, column) != 0;
    }
    void Errors(const char*, std::vector<std::string>& groups) {
        if (m_resultColumnOfVisit[m_visit] == kRepeated) {
            ++m_visit;
            return;
        }
        std::string joined;
        Text("errors", joined);
        groups.clear();
        for (std::size_t at = 0; at < joined.size();) {
            const std::size_t end = std::min(joined.find(' ', at), joined.size());
            if (end > at) groups.push_back(joined.substr(at, end - at));
            at = end + 1;
        }
    }

  private:
    int Next() { return m_resultColumnOfVisit[m_visit++]; }

    sqlite3_stmt* m_statement;
    const std::vector<int>& m_resultColumnOfVisit;
    std::size_t m_visit = 0;
};

}  // namespace

const std::vector<ArchiveColumn>& ArchiveColumns() { return TheLayout().columns; }

void BindReport(sqlite3_stmt* statement, const ArchivedReport& report) {
    Binder binder(statement);
    VisitArchiveFields(report, binder);
}

RowReader::RowReader(sqlite3_stmt* statement) : m_statement(statement) {
    const Layout& layout = TheLayout();
    std::vector<int> resultColumn(layout.columns.size(), -1);
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const char* name = sqlite3_column_name(statement, i);
        for (std::size_t c = 0; c < layout.columns.size(); ++c) {
            if (name != nullptr && layout.columns[c].name == name) resultColumn[c] = i;
        }
    }
    for (const int column : layout.columnOfVisit) {
        m_resultColumnOfVisit.push_back(column < 0 ? kRepeated : resultColumn[column]);
    }
}

ArchivedReport RowReader::Read() const {
    ArchivedReport report;
    Reader reader(m_statement, m_resultColumnOfVisit);
    VisitArchiveFields(report, reader);
    return report;
}

}  // namespace nimbo
