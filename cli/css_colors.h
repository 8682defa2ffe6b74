// The CSS colour keyword nearest to a colour, for the COLOR property of RFC 7986 (which takes a
// CSS3 colour name).
#pragma once

#include <cstdint>

// The keyword of CSS Color Level 3 nearest to rgb (0xRRGGBB, higher bits ignored) by the
// straight-line distance in RGB (the alternative not taken: a perceptual distance such as CIE Lab's,
// which is harder to check by hand). Of two keywords at the same distance, the earlier in
// alphabetical order. A constant string.
const char* NearestCssColor(uint32_t rgb);
