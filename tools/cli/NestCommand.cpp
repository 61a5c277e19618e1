// arcline nest: the containment tree of the polylines of a file, each taken as closed.

#include "arcline/lists/velAbsPolyArcLineListIter.h"
#include "arcline/platform/intNaryTree.h"
#include "arcline/polyline/utils/velPolylineUtils.h"
#include "arcline/polyutils/velPolylineSorter.h"
#include "tools/cli/Command.h"
#include "tools/cli/Format.h"
#include "tools/cli/GeometryInput.h"
#include "tools/cli/Json.h"

#include <ostream>
#include <vector>

namespace arcline::cli {

namespace {

struct Options {
    std::string input;
    bool json = false;
};

void setup(CLI::App& app, Options& o) {
    app.description(
        "The containment tree of the polylines of a geometry file (record, picture or DXF format),\n"
        "every polyline taken as closed: the polylines directly inside another are its children.\n"
        "Nesting is found from the geometry alone, whatever the orientations. One line per\n"
        "polyline, indented by its depth: its number (from 0), its signed area (anticlockwise\n"
        "positive) and whether it is an outer boundary (depth 1, 3, ...) or a hole (depth 2, 4, ...).\n"
        "Polylines that cross have no well-defined nesting: a warning says so and the tree then\n"
        "places each by the sides it was found on.");
    app.add_option("FILE", o.input, "the geometry file; '-' reads standard input")->required();
    app.add_flag("--json", o.json,
                 "one JSON object: file, polylines, and roots, an array of nested objects\n"
                 "{\"polyline\": i, \"area\": a, \"depth\": d, \"children\": [...]}");
}

struct Walker {
    intNaryTree& tree;
    const std::vector<double>& areas;
    std::vector<char>& placed;

    // The children of the current node, at `depth`, as text lines.
    void text(int depth, std::ostream& out) {
        for (int i = 0; i < tree.NumOffspring(); ++i) {
            tree.Down(i);
            const int k = tree.Read();
            placed[static_cast<std::size_t>(k)] = 1;
            out << std::string(2 * static_cast<std::size_t>(depth - 1), ' ') << k << ' '
                << format::shortest(areas[static_cast<std::size_t>(k)]) << ' '
                << (depth % 2 == 1 ? "outer" : "hole") << '\n';
            text(depth + 1, out);
            tree.Up();
        }
    }
    // The children of the current node, at `depth`, as a JSON array.
    Json json(int depth) {
        Json all = Json::array();
        for (int i = 0; i < tree.NumOffspring(); ++i) {
            tree.Down(i);
            const int k = tree.Read();
            placed[static_cast<std::size_t>(k)] = 1;
            Json node;
            node["polyline"] = k;
            node["area"] = areas[static_cast<std::size_t>(k)];
            node["depth"] = depth;
            node["kind"] = depth % 2 == 1 ? "outer" : "hole";
            node["children"] = json(depth + 1);
            all.push_back(std::move(node));
            tree.Up();
        }
        return all;
    }
};

int run(const Options& o, Session& session) {
    const GeometryInput in = GeometryInput::read(o.input, session);
    if (!in.readable() || !in.ok()) return session.exit_code();
    velAbsPolyArcLineListIter list(in.polylines());
    std::vector<double> areas;
    for (list.reset(); ++list;)
        areas.push_back(velPolylineUtils::area(list));
    velPolylineSorter sorter;
    if (sorter.any_intersections(list) != 0)
        session.warning(in.name(), "the polylines cross; where they do their nesting is not well defined");
    intNaryTree tree;
    sorter.nesting_tree(list, 0, tree);
    tree.Root();
    std::vector<char> placed(areas.size(), 0);
    Walker walk{tree, areas, placed};
    if (o.json) {
        Json doc;
        doc["file"] = o.input;
        doc["polylines"] = list.size();
        doc["roots"] = walk.json(1);
        print_json(doc, session);
    } else {
        session.out() << "# polyline area outer|hole, indented by depth\n";
        walk.text(1, session.out());
    }
    // Every polyline has a place in the tree; one left out would be a fault of the nesting.
    for (std::size_t k = 0; k < placed.size(); ++k)
        if (!placed[k])
            session.fault(in.name(),
                          "polyline " + std::to_string(k) + " has no place in the containment tree");
    return session.exit_code();
}

const CommandRegistration registration =
    register_command<Options>({"nest", "the containment tree of the polylines of a file", 36}, setup, run);

} // namespace

} // namespace arcline::cli
