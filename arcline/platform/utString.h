#pragma once
// The text type of the utilities library: labels handed to debug output functions, for instance.

#include <string>

using utString = std::string;
