#pragma once
// Where an extension crossing lies: on a closed curve met clockwise or anticlockwise, on the extension
// before the start or after the end of an open curve, or none of these.

enum velExtensionCrossingType {
    velExtensionCrossingClockwise = 0,
    velExtensionCrossingAnticlockwise = 1,
    velExtensionCrossingNone = 2,
    velExtensionCrossingStartExtension = 3,
    velExtensionCrossingEndExtension = 4,
};
