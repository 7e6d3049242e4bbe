// The analog sensors' coefficients, as the sensor window last wrote them to the datalogger;
// the analog model's download file lists them. Indexed by absolute channel 0..64.
#pragma once

#include <array>

struct AnalogCoefficients {
    double zeroVolt = 0;
    double fullScaleVolt = 0;
    double zeroUnit = 0;
    double fullScaleUnit = 0;
};

using CoefficientTable = std::array<AnalogCoefficients, 65>;
