// The analog sensors' coefficients, program-wide: filled by the sensor window's writes,
// read by the analog model's download file. Indexed by absolute channel 0..64.
#pragma once

#include <array>

namespace CoefficientTable {

constexpr int Size = 65;
extern std::array<double, Size> ZERO_VOLT;
extern std::array<double, Size> FS_VOLT;
extern std::array<double, Size> ZERO_PH;
extern std::array<double, Size> FS_PH;

// Stores the four coefficients of one channel; a channel outside the table is ignored.
void store(int channel, double zeroVolt, double fsVolt, double zeroPh, double fsPh);
// Back to all zeros, as at start.
void clear();

} // namespace CoefficientTable
