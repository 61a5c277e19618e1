#pragma once
// The debug geometry channels of the whole machining kernel, with the legends of their levels, and the one
// plain debug level of the library, "velarcline:boolean" (no operation of the library reads it). They are
// defined here, when the library is loaded, so that every library of the kernel finds them by name
// (velDebugGeometry::get_from_manager); they are never destroyed.

#include <span>

class velDebugGeometryChannels {
public:
    struct Channel {
        const char* name;
        const char* legend;
        const char* help;
    };

    // The channels in registration order.
    static std::span<const Channel> channels();
    // Registers the channels and the plain level with the manager; later calls do nothing.
    static void define();

    static constexpr const char* boolean_level = "velarcline:boolean";
    static constexpr const char* boolean_description = "Cancel boolean operation intersection check";
    static constexpr const char* boolean_source = "polyutils/velPolylineSorter";

private:
    velDebugGeometryChannels() = default;
};
