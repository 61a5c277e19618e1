#include "arcline/platform/giPoint3.h"

#include <iostream>

int main() {
    std::cout << giPoint3(1.0, 2.0, 3.0) << "\n";
    return 0;
}
