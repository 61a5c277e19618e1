#include "tools/cli/TextGeometryReader.h"

#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/Format.h"
#include "tools/cli/TextScanner.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace arcline::cli {

namespace {

using format::quoted;

void append(TextGeometryReader::List& list, velAbsPolyArcLinecoPrg line) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(list).insert_last(std::move(line));
}

std::string ordinal_of(int k, int n) {
    return "number " + std::to_string(k + 1) + " of " + std::to_string(n);
}

// The text after a record's numbers, up to the line break: a warning when it is not blank.
bool check_rest(TextScanner& in, Diagnostics& diag, char marker) {
    std::string_view rest = in.rest_of_line();
    while (!rest.empty() && TextScanner::is_space(rest.front()))
        rest.remove_prefix(1);
    while (!rest.empty() && TextScanner::is_space(rest.back()))
        rest.remove_suffix(1);
    if (rest.empty()) return true;
    return diag.warn(in.line(),
                     std::string("'") + marker + "' record: text after its numbers ignored: " + quoted(rest));
}

} // namespace

void TextGeometryReader::read_records(std::string_view text, List& out, Diagnostics& diag) {
    TextScanner in(text);
    std::string_view word;
    if (!in.read_word(word)) {
        diag.fail(in.line(), "empty file: no header");
        return;
    }
    if (word != "velGeometryIO" && word != "velPointFilterIO") {
        diag.fail(in.line(), "not a geometry record file: header word " + quoted(word));
        return;
    }
    int version = 0;
    const int header_line = in.line();
    if (!in.read_int(version)) {
        diag.fail(header_line, "the header has no version number");
        return;
    }
    if (version != 1 && !diag.warn(header_line, "version " + std::to_string(version) + " read as version 1"))
        return;

    auto current = std::make_shared<velPolyArcLineDouble>();
    int started = 0;    // line of the current polyline's first record; 0 while it has none
    int end_record = 0; // line of the first 'e'
    bool after_end_told = false;
    double v[6] = {};
    for (;;) {
        char marker = 0;
        if (!in.read_char(marker)) break;
        const int line = in.line();
        if (end_record > 0 && !after_end_told) {
            after_end_told = true;
            if (!diag.warn(line, "records after the end record 'e' of line " + std::to_string(end_record)))
                return;
        }
        switch (marker) {
        case 'a':
        case 'p': {
            const int n = marker == 'a' ? 6 : 3;
            for (int k = 0; k < n; ++k) {
                if (!in.read_double(v[k])) {
                    diag.fail(in.line(), std::string("'") + marker + "' record: " + ordinal_of(k, n) +
                                             " is missing or malformed");
                    return;
                }
                if (!std::isfinite(v[k])) {
                    diag.fail(in.line(), std::string("'") + marker + "' record: " + ordinal_of(k, n) +
                                             " is not finite (" + format::shortest(v[k]) + ")");
                    return;
                }
            }
            if (!check_rest(in, diag, marker)) return;
            if (marker == 'p') {
                current->add_pos({v[0], v[1], v[2]});
            } else if (current->num_pos() == 0) {
                if (!diag.warn(line, "an 'a' record starts a polyline: dropped (an arc needs a start)"))
                    return;
            } else {
                current->add_arc({v[0], v[1], v[2]}, {v[3], v[4], v[5]});
            }
            if (started == 0 && current->num_pos() > 0) started = line;
            break;
        }
        case 's':
            if (!check_rest(in, diag, marker)) return;
            if (current->num_pos() == 0 &&
                !diag.warn(line, "empty polyline: an 's' record without positions before it"))
                return;
            append(out, std::move(current));
            current = std::make_shared<velPolyArcLineDouble>();
            started = 0;
            break;
        case 'e':
            if (!check_rest(in, diag, marker)) return;
            if (end_record == 0) end_record = line;
            break;
        default:
            diag.fail(line, "unknown record " + quoted(std::string_view(&marker, 1)));
            return;
        }
        in.skip_line();
    }
    if (current->num_pos() > 0) {
        diag.warn(started, "polyline not ended by 's' before the end of the file: its " +
                               std::to_string(current->num_pos()) + " position(s) are dropped");
        return;
    }
    if (end_record == 0) diag.warn(in.line(), "no end record 'e': the file may be cut short");
}

void TextGeometryReader::read_picture(std::string_view text, List& out, Diagnostics& diag) {
    TextScanner in(text);
    std::string_view word;
    int version = 0;
    if (!in.read_word(word) || word != "picture" || !in.read_int(version)) {
        diag.fail(in.line(), "Readline failed to read header.");
        return;
    }
    if (version != 1) {
        diag.fail(in.line(), "picture version " + std::to_string(version) + ": only version 1 is read");
        return;
    }
    int num_contours = 0;
    if (!in.read_int(num_contours)) {
        diag.fail(in.line(), "Readline failed to read num_contours.");
        return;
    }
    if (num_contours < 0 &&
        !diag.warn(in.line(), "negative contour count " + std::to_string(num_contours) + ": no contours"))
        return;
    auto finite = [&](const double* v, int n) {
        for (int k = 0; k < n; ++k)
            if (!std::isfinite(v[k]))
                return diag.fail(in.line(), "coordinate not finite (" + format::shortest(v[k]) + ")");
        return true;
    };
    for (int k = 0; k < num_contours; ++k) {
        int num_spans = 0;
        double start[2] = {0.0, 0.0};
        if (!in.read_int(num_spans) || !in.read_double(start[0]) || !in.read_double(start[1])) {
            diag.fail(in.line(), "Readline failed to read contour header.");
            return;
        }
        if (!finite(start, 2)) return;
        if (num_spans < 0 &&
            !diag.warn(in.line(), "negative span count " + std::to_string(num_spans) + ": a single position"))
            return;
        auto contour = std::make_shared<velPolyArcLineDouble>();
        contour->add_pos({start[0], start[1], 0.0});
        double prev[2] = {start[0], start[1]};
        bool stopped = false;
        for (int i = 0; i < num_spans && !stopped; ++i) {
            char marker = 0;
            int ignored = 0;
            double v[3] = {0.0, 0.0, 0.0};
            if (!in.read_char(marker)) {
                stopped = !diag.fail(in.line(), "Readline failed to read span marker.");
            } else if (marker == 'a') {
                if (!in.read_int(ignored) || !in.read_double(v[0]) || !in.read_double(v[1]) ||
                    !in.read_double(v[2])) {
                    stopped = !diag.fail(in.line(), "Readline failed to read arc span.");
                } else if (!finite(v, 3)) {
                    stopped = true;
                } else {
                    double mid[2];
                    velCirbul::cbbump(prev, v, v[2], mid);
                    contour->add_arc({mid[0], mid[1], 0.0}, {v[0], v[1], 0.0});
                }
            } else if (marker == 'l') {
                if (!in.read_int(ignored) || !in.read_double(v[0]) || !in.read_double(v[1])) {
                    stopped = !diag.fail(in.line(), "Readline failed to read line span.");
                } else if (!finite(v, 2)) {
                    stopped = true;
                } else {
                    contour->add_pos({v[0], v[1], 0.0});
                }
            } else {
                stopped = !diag.fail(in.line(), "Invalid marker character in data file.");
            }
            if (!stopped) {
                prev[0] = v[0];
                prev[1] = v[1];
            }
        }
        append(out, std::move(contour));
        if (stopped) return;
    }
    if (in.skip_space())
        diag.warn(in.line(), "text after the last of the " + std::to_string(std::max(num_contours, 0)) +
                                 " contour(s) ignored: " + quoted(in.peek_word()));
}

} // namespace arcline::cli
