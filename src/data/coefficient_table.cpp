// The program-wide table of analog coefficients.
#include "data/coefficient_table.h"

#include <cstddef>

namespace CoefficientTable {

std::array<double, Size> ZERO_VOLT{};
std::array<double, Size> FS_VOLT{};
std::array<double, Size> ZERO_PH{};
std::array<double, Size> FS_PH{};

void store(int channel, double zeroVolt, double fsVolt, double zeroPh, double fsPh)
{
    if (channel < 0 || channel >= Size)
        return;
    ZERO_VOLT[std::size_t(channel)] = zeroVolt;
    FS_VOLT[std::size_t(channel)] = fsVolt;
    ZERO_PH[std::size_t(channel)] = zeroPh;
    FS_PH[std::size_t(channel)] = fsPh;
}

void clear()
{
    ZERO_VOLT.fill(0);
    FS_VOLT.fill(0);
    ZERO_PH.fill(0);
    FS_PH.fill(0);
}

} // namespace CoefficientTable
