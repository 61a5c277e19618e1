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
#include <initializer_list>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <utility>
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

// p rounded to single precision as the float storage classes keep it; gi_narrow keeps GCC 12 at -O2 and
// above from folding the rounding away.
inline giPoint3 single(const giPoint3& p) {
    return {gi_narrow(p.x), gi_narrow(p.y), gi_narrow(p.z)};
}

// Collects the message and function name of every report made while it lives, then puts the previous
// handler back.
class ReportCapture {
public:
    ReportCapture() : m_previous(ut::set_assert_handler(&record)) { log.clear(); }
    ~ReportCapture() { ut::set_assert_handler(m_previous); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;
    static inline std::vector<std::pair<std::string, std::string>> log;

private:
    static void record(const char*, int, const char* message, const char* function, const char*) {
        log.emplace_back(message ? message : "", function ? function : "");
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
        return std::hypot((d - u * x - v * y).length(), std::hypot(x, y) - R);
    }
    // Angle of p about the centre, in [from - 1e-9, from + 2 pi - 1e-9).
    double angle(const giPoint3& p, double from) const {
        const giVector3 d = p - c;
        double a = std::atan2(d.dot(v), d.dot(u)) - from;
        a -= 2 * std::numbers::pi * std::floor((a + 1e-9) / (2 * std::numbers::pi));
        return from + a;
    }
};

// A random circle in a random plane of space.
inline Circle random_circle(Rng& rng, double rmin, double rmax, double extent) {
    Circle k;
    k.c = {rng.uniform(-extent, extent), rng.uniform(-extent, extent), rng.uniform(-extent, extent)};
    k.R = rmin * std::pow(rmax / rmin, rng.uniform(0, 1));
    k.u = {rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1)};
    k.v = {rng.uniform(-1, 1), rng.uniform(-1, 1), rng.uniform(-1, 1)};
    k.u.unitize();
    k.v = k.v - k.u * k.u.dot(k.v);
    k.v.unitize();
    return k;
}

// Little-endian image of 32-bit words, as the archive writes them.
inline void put32(std::string& s, std::uint32_t w) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((w >> (8 * i)) & 0xFFu));
}
inline void put_ints(std::string& s, std::initializer_list<int> words) {
    for (int w : words)
        put32(s, static_cast<std::uint32_t>(w));
}
inline void put_floats(std::string& s, std::initializer_list<float> words) {
    for (float f : words)
        put32(s, std::bit_cast<std::uint32_t>(f));
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
