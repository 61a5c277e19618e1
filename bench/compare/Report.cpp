#include "bench/compare/Report.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

namespace compare {

namespace {

std::string ms(double v) {
    return format_number(v < 10.0 ? "%.3f" : "%.2f", v);
}

std::string count(long long v) {
    return v < 0 ? "-" : std::to_string(v);
}

std::string value(const Row& r, const char* area_pattern) {
    const double v = r.m.answer.value;
    if (std::isnan(v)) return "-";
    return r.value_is_count ? format_number("%.0f", v) : format_number(area_pattern, v);
}

// The two time columns: figures, or the reason there are none.
std::pair<std::string, std::string> times(const Row& r, const std::string& empty) {
    switch (r.kind) {
    case RowKind::timed:
        return {ms(r.m.timing.median_ms), ms(r.m.timing.min_ms)};
    case RowKind::not_yet:
        return {"not yet", "not yet"};
    case RowKind::not_available:
        return {"n/a", "n/a"};
    case RowKind::part:
        break;
    }
    return {empty, empty};
}

std::string padded(const std::string& s, std::size_t width, bool right) {
    if (s.size() >= width) return s;
    const std::string fill(width - s.size(), ' ');
    return right ? fill + s : s + fill;
}

std::string csv_field(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s)
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

} // namespace

void print_table(std::ostream& out, const std::vector<Row>& rows, const std::vector<Heading>& headings) {
    struct Column {
        const char* title;
        std::size_t width;
        bool right;
    };
    const Column columns[] = {{"workload", 13, false},  {"operation", 17, false},
                              {"library", 8, false},    {"median ms", 10, true},
                              {"min ms", 10, true},     {"peer/arcline", 13, true},
                              {"loops", 7, true},       {"spans|vertices", 15, true},
                              {"area|count", 16, true}, {"check", 0, false}};
    auto line = [&](const std::vector<std::string>& cells) {
        std::string s;
        for (std::size_t i = 0; i < cells.size(); ++i)
            s += (i ? "  " : "") + padded(cells[i], columns[i].width, columns[i].right);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        out << s << '\n';
    };
    std::vector<std::string> titles;
    for (const Column& c : columns)
        titles.emplace_back(c.title);
    line(titles);
    std::size_t h = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (; h < headings.size() && headings[h].first_row == i; ++h)
            out << "# " << headings[h].text << '\n';
        const Row& r = rows[i];
        const auto [median, minimum] = times(r, "");
        const bool answered = r.kind == RowKind::timed || r.kind == RowKind::part;
        line({r.workload, r.operation, r.library, median, minimum,
              std::isnan(r.ratio) ? (r.kind == RowKind::timed ? "-" : "") : format_number("%.2f", r.ratio),
              answered ? count(r.m.answer.loops) : "", answered ? count(r.m.answer.size) : "",
              answered ? value(r, "%.4f") : "", r.check});
    }
}

std::string format_number(const char* pattern, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, v);
    return buf;
}

bool write_csv(const std::string& path, const std::vector<Row>& rows, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path), temporary(path + ".tmp");
    {
        std::ofstream f(temporary, std::ios::trunc);
        if (!f) {
            error = path + ": cannot be written (" + temporary.string() + " does not open)";
            return false;
        }
        f << "workload,operation,library,median_ms,min_ms,result_loops,result_spans_or_vertices,"
             "area_or_count\n";
        for (const Row& r : rows) {
            const auto [median, minimum] = r.kind == RowKind::timed
                                               ? std::pair{format_number("%.4f", r.m.timing.median_ms),
                                                           format_number("%.4f", r.m.timing.min_ms)}
                                               : times(r, "");
            const bool answered = r.kind == RowKind::timed || r.kind == RowKind::part;
            auto number = [](long long v) { return v < 0 ? std::string() : std::to_string(v); };
            const std::string v = answered ? value(r, "%.10f") : "";
            f << csv_field(r.workload) << ',' << csv_field(r.operation) << ',' << csv_field(r.library) << ','
              << median << ',' << minimum << ',' << (answered ? number(r.m.answer.loops) : "") << ','
              << (answered ? number(r.m.answer.size) : "") << ',' << (v == "-" ? "" : v) << '\n';
        }
        f.flush();
        if (!f) {
            error = path + ": writing " + temporary.string() + " failed";
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        error = path + ": cannot be written (" + ec.message() + ")";
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace compare
