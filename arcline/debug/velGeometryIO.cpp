#include "arcline/debug/velGeometryIO.h"

#include "arcline/debug/CDGDocument.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/lists/velPolylineListCursor.h"
#include "arcline/lists/velPolylineListIter.h"
#include "arcline/platform/utAssert.h"
#include "arcline/polyline/spans/velCirbul.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <source_location>
#include <string>
#include <string_view>
#include <system_error>

namespace {

// ---- Input --------------------------------------------------------------------------------------------

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File open_file(const char* path, const char* mode) {
    return File(std::fopen(path, mode), &std::fclose);
}

// Reads words, characters and numbers from a file the way a text stream's extraction does (white space,
// line breaks included, skipped before each item), and counts lines for fault reports. The file is read
// through one buffer that grows only to hold the longest item, so a large file costs no more memory than a
// small one.
class Scanner {
public:
    // Reads `file` (which may be null: an empty input) from where it stands.
    explicit Scanner(std::FILE* file)
        : m_file(file), m_buf(std::make_unique_for_overwrite<char[]>(m_capacity)) {}

    // The line of the next unread character, from 1.
    int line() const { return m_line; }

    bool read_char(char& c) {
        if (!skip_space()) return false;
        c = m_buf[m_begin++];
        return true;
    }
    // A copy: later reads may move the buffer.
    bool read_word(std::string& word) {
        if (!skip_space()) return false;
        const std::string_view w = item();
        word.assign(w);
        m_begin += w.size();
        return true;
    }
    bool read_int(int& v) { return read_number(v); }
    // Also reads "inf" and "nan", which the writer prints for non-finite values.
    bool read_double(double& v) { return read_number(v); }

    // Past the next line break (or to the end).
    void skip_line() {
        for (;;) {
            const void* br = std::memchr(m_buf.get() + m_begin, '\n', m_end - m_begin);
            if (br) {
                m_begin = static_cast<std::size_t>(static_cast<const char*>(br) - m_buf.get()) + 1;
                ++m_line;
                return;
            }
            m_begin = m_end;
            if (!refill()) return;
        }
    }

private:
    static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    // Keeps the unread bytes, making room (growing the buffer when they fill it), and reads more. False
    // when nothing more could be read.
    bool refill() {
        if (!m_file) return false;
        const std::size_t unread = m_end - m_begin;
        if (unread == m_capacity) {
            m_capacity *= 2;
            auto bigger = std::make_unique_for_overwrite<char[]>(m_capacity);
            std::memcpy(bigger.get(), m_buf.get() + m_begin, unread);
            m_buf = std::move(bigger);
        } else if (m_begin > 0) {
            std::memmove(m_buf.get(), m_buf.get() + m_begin, unread);
        }
        m_begin = 0;
        m_end = unread;
        const std::size_t n = std::fread(m_buf.get() + m_end, 1, m_capacity - m_end, m_file);
        m_end += n;
        if (n == 0) m_file = nullptr; // at the end, or a read error: nothing more will come
        return n > 0;
    }

    bool skip_space() {
        for (;;) {
            while (m_begin < m_end && is_space(m_buf[m_begin])) {
                if (m_buf[m_begin] == '\n') ++m_line;
                ++m_begin;
            }
            if (m_begin < m_end) return true;
            if (!refill()) return false;
        }
    }

    // The unread characters up to the next white space or the end, all in the buffer; after skip_space.
    std::string_view item() {
        std::size_t at = m_begin;
        for (;;) {
            while (at < m_end && !is_space(m_buf[at]))
                ++at;
            if (at < m_end) break;
            const std::size_t seen = at - m_begin;
            const bool more = refill(); // moves the unread bytes to the front of the buffer
            at = m_begin + seen;
            if (!more) break;
        }
        return {m_buf.get() + m_begin, at - m_begin};
    }

    // A number out of range fails, as it does for a stream.
    template <class T>
    bool read_number(T& v) {
        if (!skip_space()) return false;
        const std::string_view s = item();
        const char* first = s.data();
        const char* last = first + s.size();
        // from_chars takes no plus sign; a stream takes one before the digits.
        if (*first == '+' && first + 1 < last && ((first[1] >= '0' && first[1] <= '9') || first[1] == '.'))
            ++first;
        const std::from_chars_result r = std::from_chars(first, last, v);
        if (r.ec != std::errc()) return false;
        m_begin += static_cast<std::size_t>(r.ptr - s.data());
        return true;
    }

    std::FILE* m_file;
    std::size_t m_capacity = std::size_t{1} << 20;
    std::unique_ptr<char[]> m_buf;
    std::size_t m_begin = 0; // the unread bytes are [m_begin, m_end) of m_buf
    std::size_t m_end = 0;
    int m_line = 1;
};

bool fail(velGeometryIOFault& fault, int line, std::string reason) {
    fault.line = line;
    fault.reason = std::move(reason);
    return false;
}

// A word of the file for a message: at most 32 characters, unprintable ones as '?'.
std::string quoted(std::string_view word) {
    constexpr std::size_t most = 32;
    std::string out = "'";
    for (const char c : word.substr(0, most))
        out += (c >= ' ' && c < 127) ? c : '?';
    if (word.size() > most) out += "...";
    return out + "'";
}

void append(velAbsPolyArcLinecoDListPrgcoPrgcoDList& list, velAbsPolyArcLinecoPrg line) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDListcoCursor(list).insert_last(std::move(line));
}

// The record format after the header check; see velGeometryIO.h.
bool read_records(std::FILE* file, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list, velGeometryIOFault& fault) {
    Scanner in(file);
    std::string word;
    if (!in.read_word(word)) return fail(fault, in.line(), "empty file: no header");
    if (word != "velGeometryIO" && word != "velPointFilterIO")
        return fail(fault, in.line(), "not a geometry record file: header word " + quoted(word));
    int version = 0;
    if (!in.read_int(version)) return fail(fault, in.line(), "the header has no version number");

    auto current = std::make_shared<velPolyArcLineDouble>();
    double v[6] = {};
    // Reads the n numbers of a record; on a fault names the first one missing.
    auto numbers = [&](char marker, int n, int line) {
        for (int k = 0; k < n; ++k) {
            if (!in.read_double(v[k]))
                return fail(fault, line,
                            std::string("'") + marker + "' record: number " + std::to_string(k + 1) + " of " +
                                std::to_string(n) + " is missing or malformed");
        }
        return true;
    };
    for (;;) {
        char marker = 0;
        if (!in.read_char(marker)) return true;
        const int line = in.line();
        switch (marker) {
        case 'a':
            if (!numbers(marker, 6, line)) return false;
            current->add_arc({v[0], v[1], v[2]}, {v[3], v[4], v[5]});
            break;
        case 'p':
            if (!numbers(marker, 3, line)) return false;
            current->add_pos({v[0], v[1], v[2]});
            break;
        case 's':
            append(list, std::move(current));
            current = std::make_shared<velPolyArcLineDouble>();
            break;
        case 'e':
            break;
        default:
            return fail(fault, line, "unknown record " + quoted(std::string_view(&marker, 1)));
        }
        in.skip_line();
    }
}

// ---- Picture format -----------------------------------------------------------------------------------

// Reports a picture fault; the first one is also kept in `first`, when given, with the line where reading
// stood.
void picture_fault(velGeometryIOFault* first, const Scanner& in, const char* message, const char* expression,
                   std::source_location where = std::source_location::current()) {
    if (first && first->empty()) fail(*first, in.line(), message);
    ut_report_assert_failure(where.file_name(), static_cast<int>(where.line()), message,
                             "velGeometryIO::read_pictureio_format", expression);
}

void read_picture(std::FILE* file, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list, velGeometryIOFault* first) {
    Scanner in(file);
    std::string s;
    int version = 0;
    if (!in.read_word(s) || !in.read_int(version))
        return picture_fault(first, in, "Readline failed to read header.", "!file.fail()");
    if (s != "picture") picture_fault(first, in, "This isn't a picture.", "s == \"picture\"");
    if (version != 1) picture_fault(first, in, "Wrong version.", "version == 1");
    int num_contours = 0;
    if (!in.read_int(num_contours))
        return picture_fault(first, in, "Readline failed to read num_contours.", "!file.fail()");
    for (int k = 0; k < num_contours; ++k) {
        int num_spans = 0;
        double x = 0.0, y = 0.0;
        if (!in.read_int(num_spans) || !in.read_double(x) || !in.read_double(y))
            return picture_fault(first, in, "Readline failed to read contour header.", "!file.fail()");
        auto contour = std::make_shared<velPolyArcLineDouble>();
        contour->add_pos({x, y, 0.0});
        const char* stopped = nullptr; // the message of a failed read
        double prev[2] = {x, y};
        for (int i = 0; i < num_spans && !stopped; ++i) {
            char marker = 0;
            int ignored = 0;
            double end[2] = {0.0, 0.0}, b = 0.0;
            if (!in.read_char(marker)) {
                stopped = "Readline failed to read span marker.";
            } else if (marker == 'a') {
                if (!in.read_int(ignored) || !in.read_double(end[0]) || !in.read_double(end[1]) ||
                    !in.read_double(b)) {
                    stopped = "Readline failed to read arc span.";
                    break;
                }
                double mid[2];
                velCirbul::cbbump(prev, end, b, mid);
                contour->add_arc({mid[0], mid[1], 0.0}, {end[0], end[1], 0.0});
                prev[0] = end[0];
                prev[1] = end[1];
            } else if (marker == 'l') {
                if (!in.read_int(ignored) || !in.read_double(end[0]) || !in.read_double(end[1])) {
                    stopped = "Readline failed to read line span.";
                    break;
                }
                contour->add_pos({end[0], end[1], 0.0});
                prev[0] = end[0];
                prev[1] = end[1];
            } else {
                picture_fault(first, in, "Invalid marker character in data file.", "0");
            }
        }
        append(list, std::move(contour));
        if (stopped) return picture_fault(first, in, stopped, "!file.fail()");
    }
}

// ---- Output -------------------------------------------------------------------------------------------

// Buffered file output; a file that cannot be opened swallows everything.
class TextFile {
public:
    explicit TextFile(const char* path) : m_file(open_file(path, "wb")) {
        m_buffer.reserve(buffer_size + 256);
    }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { flush(); }

    TextFile& put(std::string_view s) {
        m_buffer += s;
        if (m_buffer.size() >= buffer_size) flush();
        return *this;
    }
    // A space and the number as printf's "%.17g" prints it (to_chars with a precision is specified so).
    TextFile& number(double v) {
        char text[32];
        text[0] = ' ';
        const std::to_chars_result r =
            std::to_chars(text + 1, text + sizeof text, v, std::chars_format::general, 17);
        return put(std::string_view(text, static_cast<std::size_t>(r.ptr - text)));
    }
    TextFile& point(const giPoint3& p) { return number(p.x).number(p.y).number(p.z); }

private:
    static constexpr std::size_t buffer_size = std::size_t{1} << 16;

    void flush() {
        if (m_file && !m_buffer.empty()) std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file.get());
        m_buffer.clear();
    }

    File m_file;
    std::string m_buffer;
};

lumet::P3 p3(const giPoint3& p) {
    return {p.x, p.y, p.z};
}

} // namespace

// ---- velGeometryIO ----------------------------------------------------------------------------------------

void velGeometryIO::write(const char* path, velPolylineListIter& list) {
    TextFile out(path);
    out.put("velGeometryIO 1");
    list.reset();
    while (++list) {
        const int n = list.num_pos();
        for (int i = 0; i < n; ++i) {
            if (i > 0 && !list.span_linear(i - 1)) {
                out.put("\na").point(list.get_mid_pos(i - 1)).point(list.get_pos(i));
            } else {
                out.put("\np").point(list.get_pos(i));
            }
        }
        out.put("\ns");
    }
    out.put("\ne");
}

bool velGeometryIO::read(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list,
                         velGeometryIOFault& fault) {
    fault = {};
    if (is_pictureio_file(path)) {
        const File file = open_file(path, "rb");
        read_picture(file.get(), list, &fault);
        return true;
    }
    const File file = open_file(path, "rb");
    if (!file) return fail(fault, 0, std::string("cannot open ") + path);
    return read_records(file.get(), list, fault);
}

bool velGeometryIO::read(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
    velGeometryIOFault fault;
    return read(path, list, fault);
}

bool velGeometryIO::read(const char* path, velPolylineListCursor& out, velGeometryIOFault& fault) {
    velAbsPolyArcLinecoDListPrgcoPrgcoDList list;
    const bool ok = read(path, list, fault);
    velAbsPolyArcLineListIter it(list);
    it.copy(out);
    return ok;
}

bool velGeometryIO::read(const char* path, velPolylineListCursor& out) {
    velGeometryIOFault fault;
    return read(path, out, fault);
}

bool velGeometryIO::is_pictureio_file(const char* path) {
    const File file = open_file(path, "rb");
    if (!file) return false;
    Scanner in(file.get());
    std::string word;
    int version = 0;
    return in.read_word(word) && word == "picture" && in.read_int(version) && version == 1;
}

bool velGeometryIO::read_pictureio_format(const char* path, velAbsPolyArcLinecoDListPrgcoPrgcoDList& list) {
    const File file = open_file(path, "rb"); // an unreadable file reads as empty: its header is reported
    read_picture(file.get(), list, nullptr);
    return true;
}

void velGeometryIO::write_cdg(const char* file, const char* label, velPolylineListIter& list) {
    using lumet::CDGDocument;
    CDGDocument::pushNode(file, label);
    list.reset();
    while (++list) {
        const int n = list.num_pos();
        if (n == 0) continue;
        CDGDocument::pushNode(file, "polyline " + std::to_string(list.index()));
        if (n == 1) CDGDocument::exportPoint(file, p3(list.get_pos(0)), "#ffffff", "");
        for (int i = 0; i + 1 < n; ++i) {
            const std::string span = "span " + std::to_string(i);
            if (list.span_linear(i)) {
                CDGDocument::exportLine(file, p3(list.get_pos(i)), p3(list.get_pos(i + 1)), "#ffff00", span);
            } else {
                CDGDocument::exportArcFromPoints(file, p3(list.get_pos(i)), p3(list.get_mid_pos(i)),
                                                 p3(list.get_pos(i + 1)), "#00ffff", span);
            }
        }
        CDGDocument::popNode(file);
    }
    CDGDocument::popNode(file);
    CDGDocument::flushDoc(file);
}
