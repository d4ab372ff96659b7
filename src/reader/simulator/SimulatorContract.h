#pragma once

// How a program tells the simulated reader which card file to use: the environment variable
// below, set before the libraries are loaded. Unset: the built-in demo card. Set: that file;
// a missing file means no card on the reader.
namespace zir::reader::simulator {
inline constexpr const char* kCardFileVariable = "ZIR_SIMULATOR_CARD";
}
