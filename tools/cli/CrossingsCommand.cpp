// arcline crossings: every crossing of the polylines of a file, found by the BSP intersector.

#include "arcline/intersect/velCrossData.h"
#include "arcline/intersect/velListIntersector.h"
#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/polyline/velPolyArcLineDouble.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/Json.h"
#include "tools/cli/SvgOutput.h"

#include "arcline/platform/coDListcoCursor.h"

#include <memory>

namespace arcline::cli {

namespace {

struct Options {
    std::string input;
    int between = -1;
    bool json = false;
    SvgOutput svg;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "Finds every crossing of the polylines of a geometry file (record, picture or DXF format):\n"
        "crossings between polylines and of a polyline with itself, each once. A polyline is\n"
        "closed when its ends coincide; its closing point is no crossing. Parameters are span\n"
        "index plus the place along the span (for an arc its bulge parameter, 0.5 at its mid\n"
        "point), positions numbered from 0. One line per crossing: both polyline numbers, both\n"
        "parameters and the point.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_option("--between", o.between,
                   "only crossings between polylines [0, K) and [K, n); the first polyline of each\n"
                   "crossing is then the one below K")
        ->check(CLI::NonNegativeNumber)
        ->type_name("K");
    app.add_flag("--json", o.json,
                 "one JSON object: file, polylines, count and crossings, an array of objects with\n"
                 "polyline1, param1, polyline2, param2 and point [x, y]");
    SvgOutput::add_option(app, o.svg, "the polylines with every crossing marked by a small circle");
}

// The circles that mark crossings in the picture, as a fraction of the drawing's diagonal.
constexpr double mark_radius = 0.004;

// Small circles (two half-circle arcs each) around the crossings, for the picture.
std::unique_ptr<velAbsPolyArcLinecoDListPrgcoPrgcoDList> marks(const velCrossingcoPageArr& crossings,
                                                               double r) {
    auto out = std::make_unique<velAbsPolyArcLinecoDListPrgcoPrgcoDList>();
    coDListcoCursor<velAbsPolyArcLinecoPrg> cursor(*out);
    for (int i = 0; i < crossings.size(); ++i) {
        const giPoint3 c = crossings.read(i).point();
        auto circle = std::make_shared<velPolyArcLineDouble>();
        circle->add_pos({c.x + r, c.y, c.z});
        circle->add_arc({c.x, c.y + r, c.z}, {c.x - r, c.y, c.z});
        circle->add_arc({c.x, c.y - r, c.z}, {c.x + r, c.y, c.z});
        cursor.insert_last(std::move(circle));
    }
    return out;
}

int run(const Options& o, Session& session) {
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.readable()) return session.exit_code();
    velAbsPolyArcLineListIter list(in.polylines());
    const int n = list.size();
    if (o.between > n) {
        session.fault("--between", "K = " + std::to_string(o.between) + " is more than the " +
                                       std::to_string(n) + " polylines of " + in.name());
        return session.exit_code();
    }
    velCrossingcoPageArr crossings;
    if (o.between >= 0)
        velListIntersector::crossings_between(list, o.between, crossings);
    else
        velListIntersector::all_crossings(list, crossings);

    if (o.json) {
        Json doc;
        doc["file"] = o.input;
        doc["polylines"] = n;
        doc["count"] = crossings.size();
        Json all = Json::array();
        for (int i = 0; i < crossings.size(); ++i) {
            const velCrossing& c = crossings.read(i);
            all.push_back(Json{{"polyline1", c.index1()},
                               {"param1", c.param1()},
                               {"polyline2", c.index2()},
                               {"param2", c.param2()},
                               {"point", Json::array({c.point().x, c.point().y})}});
        }
        doc["crossings"] = std::move(all);
        print_json(doc, session);
    } else {
        std::ostream& out = session.out();
        out << "# polyline1 param1 polyline2 param2 x y\n";
        for (int i = 0; i < crossings.size(); ++i) {
            const velCrossing& c = crossings.read(i);
            out << c.index1() << ' ' << format::shortest(c.param1()) << ' ' << c.index2() << ' '
                << format::shortest(c.param2()) << ' ' << format::shortest(c.point().x) << ' '
                << format::shortest(c.point().y) << '\n';
        }
        out << crossings.size() << (crossings.size() == 1 ? " crossing\n" : " crossings\n");
    }
    if (!o.svg.path.empty()) {
        giBox2 box;
        for (list.reset(); ++list;)
            box.merge(list.box(vel_2d_box));
        const double r = box.empty() || box.diagonal() == 0.0 ? 1.0 : mark_radius * box.diagonal();
        const auto circles = marks(crossings, r);
        o.svg.write({{in.name(), &in.polylines()}, {"crossings", circles.get()}}, session);
    }
    return session.exit_code();
}

const CommandRegistration registration =
    register_command<Options>({"crossings", "every crossing of the polylines of a file", 30}, setup, run);

} // namespace

} // namespace arcline::cli
