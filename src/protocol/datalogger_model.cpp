// What the program knows of the datalogger it is connected to.
#include "protocol/datalogger_model.h"

#include "data/conversions.h"

#include <cmath>

void DataloggerModel::setChannelText(int m, const QString& text)
{
    if (m >= 0 && m < 4)
        channelTexts_[size_t(m)] = text;
}

bool DataloggerModel::isChannelCount(const QString& text)
{
    const double count = Numbers::leadingNumber(text);
    return Numbers::isNumeric(text) && count >= 0 && count <= 16 && count == std::floor(count);
}

int DataloggerModel::channelCount(int m) const
{
    return validChannelCount(m) ? int(Numbers::leadingNumber(channelText(m))) : 0;
}

std::array<int, 4> DataloggerModel::channelCounts() const
{
    return {channelCount(0), channelCount(1), channelCount(2), channelCount(3)};
}

void DataloggerModel::setCoefficients(int channel, const AnalogCoefficients& c)
{
    if (channel >= 0 && channel < int(coefficients_.size()))
        coefficients_[size_t(channel)] = c;
}
