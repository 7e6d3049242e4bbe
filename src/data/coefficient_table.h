// The analog sensors' coefficients, program-wide: filled by the sensor window's writes,
// read by the analog model's download file. Indexed by absolute channel 0..64.
#pragma once

#include <array>

namespace CoefficientTable {

constexpr int Size = 65;
extern std::array<double, Size> zeroVolts;
extern std::array<double, Size> fullScaleVolts;
extern std::array<double, Size> zeroUnits;
extern std::array<double, Size> fullScaleUnits;

// Stores the four coefficients of one channel; a channel outside the table is ignored.
void store(int channel, double zeroVolt, double fsVolt, double zeroPh, double fsPh);
// Back to all zeros, as at start.
void clear();

} // namespace CoefficientTable
