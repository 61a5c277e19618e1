#include "arcline/platform/CException.h"

// Defined here so that the type information has one home in the shared library and catch clauses match
// across library boundaries.
CException::~CException() = default;

const char* CException::what() const noexcept {
    return "object model exception";
}
