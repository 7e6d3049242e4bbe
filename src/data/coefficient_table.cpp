// The program-wide table of analog coefficients.
#include "data/coefficient_table.h"

#include <cstddef>

namespace CoefficientTable {

std::array<double, Size> zeroVolts{};
std::array<double, Size> fullScaleVolts{};
std::array<double, Size> zeroUnits{};
std::array<double, Size> fullScaleUnits{};

void store(int channel, double zeroVolt, double fsVolt, double zeroPh, double fsPh)
{
    if (channel < 0 || channel >= Size)
        return;
    zeroVolts[std::size_t(channel)] = zeroVolt;
    fullScaleVolts[std::size_t(channel)] = fsVolt;
    zeroUnits[std::size_t(channel)] = zeroPh;
    fullScaleUnits[std::size_t(channel)] = fsPh;
}

void clear()
{
    zeroVolts.fill(0);
    fullScaleVolts.fill(0);
    zeroUnits.fill(0);
    fullScaleUnits.fill(0);
}

} // namespace CoefficientTable
