// The libical module of ical_module.h: linked into the program (as the tests are), else loaded
// from vestrel-cal-ical.so in the folder of the program's own file, at the first call.
#pragma once

#include <string>

#include "cli/ical_module.h"

constexpr char kIcalModuleName[] = "vestrel-cal-ical.so";

// The module's functions, kept for the run; null, with one line in *problem, when the module cannot
// be loaded.
const VestrelIcal* LoadIcal(std::string* problem);
