#pragma once
// Where the port names "COM1".."COM8" lead on this system.

#include <string>

inline constexpr int kPortCount = 8;

// Device path of port `index` (0 = "COM1"): the environment variable ORVEL_COM1..ORVEL_COM8 when
// set and not empty, else the built-in table (the name itself on Windows). Empty for an index
// outside 0..7.
std::string PortDevicePath(int index);
