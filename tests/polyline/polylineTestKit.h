#pragma once
// Shared pieces of the poly-arc-line tests: a capture of the assertion reporter, reference circles built
// from angles (not from the three-point code under test), random numbers with fixed seeds, and archive
// byte helpers.

#include "arcline/platform/CArchive.h"
#include "arcline/platform/giFloatArray3.h"
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/giVector3.h"
#include "arcline/platform/utAssert.h"
#include "arcline/polyline/velAbsPolyArcLine.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace polytest {

inline giPoint3 pos(const velAbsPolyArcLine& l, int i) {
    giPoint3 p;
    l.get_pos(i, p);
    return p;
}
inline giPoint3 mid(const velAbsPolyArcLine& l, int i) {
    giPoint3 p;
    l.get_mid_pos(i, p);
    return p;
}

// p rounded to single precision, as the float storage classes keep it. The narrowing goes through memory:
// GCC 12 at -O2 and above folds giFloatArray3(p).point() into a plain copy of x and y (its vectorizer drops
// the paired double -> float -> double conversions), which would hide the rounding.
inline giPoint3 single(const giPoint3& p) {
    volatile float f[3] = {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
    return {f[0], f[1], f[2]};
}

struct Report {
    std::string file, message, function, expression;
    int line;
};

// Collects every report made while it lives, then puts the previous handler back.
class ReportCapture {
public:
    ReportCapture() : m_previous(ut::set_assert_handler(&record)) { log().clear(); }
    ~ReportCapture() { ut::set_assert_handler(m_previous); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;
    static std::vector<Report>& log() {
        static std::vector<Report> reports;
        return reports;
    }

private:
    static void record(const char* file, int line, const char* message, const char* function,
                       const char* expression) {
        log().push_back({file ? file : "", message ? message : "", function ? function : "",
                         expression ? expression : "", line});
    }
    ut::AssertHandler m_previous;
};

struct Rng {
    explicit Rng(unsigned seed) : engine(seed) {}
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(engine); }
    int pick(int a, int b) { return std::uniform_int_distribution<int>(a, b)(engine); }
    std::mt19937 engine;
};

// A circle by centre, orthonormal in-plane axes and radius; points by angle.
struct Circle {
    giPoint3 c;
    giVector3 u, v;
    double R = 0.0;

    giPoint3 at(double angle) const { return c + u * (R * std::cos(angle)) + v * (R * std::sin(angle)); }
    // Distance in space from p to the circle.
    double distance(const giPoint3& p) const {
        const giVector3 d = p - c;
        const double x = d.dot(u), y = d.dot(v);
        const giVector3 off_plane = d - u * x - v * y;
        return std::hypot(off_plane.length(), std::hypot(x, y) - R);
    }
    // Angle of p about the centre, in [from - 1e-9, from + 2 pi - 1e-9).
    double angle(const giPoint3& p, double from) const {
        const giVector3 d = p - c;
        double a = std::atan2(d.dot(v), d.dot(u)) - from;
        a -= 2 * std::numbers::pi * std::floor((a + 1e-9) / (2 * std::numbers::pi));
        return from + a;
    }
};

// The circle through the arc S, M, E (not collinear), its axes set so that S is at angle 0 and the angle
// grows from S through M to E.
inline Circle circle_through(const giPoint3& S, const giPoint3& M, const giPoint3& E) {
    const giVector3 p = M - S, q = E - S, n = p.cross(q);
    const giVector3 to_c = (q.cross(n) * p.dot(p) + n.cross(p) * q.dot(q)) / (2 * n.dot(n));
    Circle k;
    k.c = S + to_c;
    k.R = to_c.length();
    k.u = -to_c;
    k.u.unitize();
    k.v = n.cross(k.u);
    k.v.unitize();
    return k;
}

// A random circle in a random plane of space.
inline Circle random_circle(Rng& rng, double rmin, double rmax, double extent) {
    Circle k;
    k.c = {rng.uniform(-extent, extent), rng.uniform(-extent, extent), rng.uniform(-extent, extent)};
    k.R = rmin * std::pow(rmax / rmin, rng.uniform(0, 1));
    giVector3 a(rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1));
    giVector3 b(rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1));
    a.unitize();
    b = b - a * a.dot(b);
    b.unitize();
    k.u = a;
    k.v = b;
    return k;
}

// Little-endian image of 32-bit words, as the archive writes them.
inline void put32(std::string& s, std::uint32_t w) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((w >> (8 * i)) & 0xFFu));
}
inline void put_int(std::string& s, int v) {
    put32(s, static_cast<std::uint32_t>(v));
}
inline void put_float(std::string& s, float f) {
    put32(s, std::bit_cast<std::uint32_t>(f));
}
inline void put_point(std::string& s, float x, float y, float z) {
    put_float(s, x);
    put_float(s, y);
    put_float(s, z);
}

// What Serialize writes when storing.
template <class L>
std::string stored_bytes(L& line) {
    std::stringstream ss;
    {
        CArchive ar(ss, CArchive::store);
        line.Serialize(ar);
    }
    return ss.str();
}

// Loads `line` from `bytes` through its own Serialize.
template <class L>
void load_bytes(L& line, const std::string& bytes) {
    std::stringstream ss(bytes);
    CArchive ar(ss, CArchive::load);
    line.Serialize(ar);
}

} // namespace polytest
