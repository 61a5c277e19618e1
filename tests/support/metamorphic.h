#pragma once
// The metamorphic runner (see tests/support/README): one case checked again reversed, with its closed
// polylines started half way round, moved far from the origin, scaled by 1000 and mirrored in x. Each
// `Morph` turns the input polylines, the expected `Props`, a point and the tolerance alike, so that a check
// written for the case as given runs unchanged on every variant:
//
//     support::for_each_morph(lines, [&](const support::Morph& m, const support::Polylines& in) {
//         EXPECT_TRUE(support::same_props(measure(in), m.props(want), m.tol(tol)));
//     });

#include "polylineProps.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

#include <functional>
#include <string>

namespace support {

struct Morph {
    enum Kind { identity, reversed, start_cycled, translated, scaled, mirrored };
    Kind kind = identity;

    static constexpr double far = 1e5;    // translated by (far, -far, 0)
    static constexpr double factor = 1e3; // scaled by this about the origin

    std::string name() const {
        static const char* const names[] = {"identity",   "reversed", "start_cycled",
                                            "translated", "scaled",   "mirrored"};
        return names[kind];
    }
    // Where a point goes (reversal and cycling keep points where they are).
    giPoint3 point(const giPoint3& p) const {
        switch (kind) {
        case translated:
            return {p.x + far, p.y - far, p.z};
        case scaled:
            return {p.x * factor, p.y * factor, p.z * factor};
        case mirrored:
            return {-p.x, p.y, p.z};
        default:
            return p;
        }
    }
    // Does the morph turn the direction of travel about +Z (signed areas and bulges change sign)?
    bool flips_orientation() const { return kind == reversed || kind == mirrored; }
    double length_factor() const { return kind == scaled ? factor : 1.0; }

    giBox3 box(const giBox3& b) const {
        if (b.empty()) return b;
        giBox3 out;
        out.merge(point(b.min()));
        out.merge(point(b.max()));
        return out;
    }
    Props props(Props p) const {
        p.length *= length_factor();
        p.area *= length_factor() * length_factor() * (flips_orientation() ? -1 : 1);
        p.box = box(p.box);
        return p;
    }
    // Distances scale with the case; far from the origin a coordinate keeps about 1e5 * 2^-52 of absolute
    // accuracy, which the relative part of a tolerance does not see in a translation-invariant measure.
    Tol tol(Tol t) const {
        t.abs *= length_factor();
        if (kind == translated) t.abs += far * 1e-14;
        return t;
    }

    std::unique_ptr<velAbsPolyArcLine> polyline(const velAbsPolyArcLine& in) const;
    Polylines polylines(const Polylines& in) const {
        Polylines out;
        for (const auto& p : in)
            out.push_back(polyline(*p));
        return out;
    }
};

inline const Morph all_morphs[] = {{Morph::identity},   {Morph::reversed}, {Morph::start_cycled},
                                   {Morph::translated}, {Morph::scaled},   {Morph::mirrored}};

// Runs `check` on every morph of `in`, each under a SCOPED_TRACE naming the morph.
inline void for_each_morph(const Polylines& in,
                           const std::function<void(const Morph&, const Polylines&)>& check) {
    for (const Morph& m : all_morphs) {
        SCOPED_TRACE("morph " + m.name());
        check(m, m.polylines(in));
    }
}

// in's positions 1 .. n and arc mid points, each through `f`, in the order given by `order` (positions
// numbered from 1, each the one after its predecessor, or the one before it when walking `backwards`); each
// arc keeps its own mid point, whichever way it is walked.
inline std::unique_ptr<velAbsPolyArcLine> rebuilt(const velAbsPolyArcLine& in, const std::vector<int>& order,
                                                  bool backwards,
                                                  const std::function<giPoint3(const giPoint3&)>& f) {
    auto out = std::make_unique<velPolyArcLineDouble>();
    for (std::size_t k = 0; k < order.size(); ++k) {
        giPoint3 p;
        in.get_pos(order[k], p);
        if (k == 0) {
            out->add_pos(f(p));
            continue;
        }
        // Walking forwards position order[k] is reached through the span before it (from the closing
        // position n round to 2 through span 1), backwards through the span after it.
        const int span = backwards ? order[k] : order[k] - 1;
        if (in.span_linear(span)) {
            out->add_pos(f(p));
        } else {
            giPoint3 m;
            in.get_mid_pos(span, m);
            out->add_arc(f(m), f(p));
        }
    }
    return out;
}

inline std::unique_ptr<velAbsPolyArcLine> Morph::polyline(const velAbsPolyArcLine& in) const {
    const int n = in.num_pos();
    std::vector<int> order;
    if (kind == reversed) {
        for (int i = n; i >= 1; --i)
            order.push_back(i);
    } else if (kind == start_cycled && n > 3 && props_of(in).closed) {
        // Start at position s: s .. n, then 2 .. s (position 1 is position n).
        const int s = (n + 1) / 2;
        for (int i = s; i <= n; ++i)
            order.push_back(i);
        for (int i = 2; i <= s; ++i)
            order.push_back(i);
    } else {
        for (int i = 1; i <= n; ++i)
            order.push_back(i);
    }
    return rebuilt(in, order, kind == reversed, [this](const giPoint3& p) { return point(p); });
}

} // namespace support
