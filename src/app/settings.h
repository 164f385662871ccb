#pragma once
// How the settings boxes read as numbers.

#include <cstdint>
#include <string>

namespace app {

// Comparisons of numbers read from the boxes allow this much.
inline constexpr double kTolerance = 0.0000001;

// The number a settings box holds: a decimal number at the start of its text,
// 0 when there is none.
double numberOf(const std::string& text);
// Truncated toward zero and held within 32 bits.
std::int32_t truncated(double number);

}  // namespace app
