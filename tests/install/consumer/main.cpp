// A user's program built against an installed arcline.
#include "arcline/platform/giPoint3.h"
#include "arcline/platform/utAssert.h"

#include <iostream>

int main() {
    const giPoint3 p(1.0, 2.0, 3.0);
    std::cout << (p.coincident(giPoint3(1.0, 2.0, 3.0), 0.0) ? "consumer ok" : "consumer wrong") << "\n";
    return 0;
}
