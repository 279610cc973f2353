#include "ProjectSettings.h"

#include <cmath>
#include <limits>

namespace {

template <typename T>
void Limit(T& value, T low, T high)
{
    if (value < low)
        value = low;
    else if (value > high)
        value = high;
}

// Frequency steps as the conversions take them: unsigned, at least 1.
unsigned StepsOf(const CAntennaSettings& antenna)
{
    return antenna.m_iFrequencySteps > 0 ? static_cast<unsigned>(antenna.m_iFrequencySteps) : 1u;
}

// Lines of a direction: in grid mode 1 from the size as read, in single precision; in every
// other mode from the grid size in whole numbers.
int32_t LineCount(int32_t gridMode, int32_t gridSize, int32_t size, int32_t spacing)
{
    if (spacing == 0)
        return 0;
    const uint32_t unsignedSpacing = static_cast<uint32_t>(spacing);
    if (gridMode != 1)
        return static_cast<int32_t>(static_cast<uint32_t>(gridSize - 1) / unsignedSpacing + 1);
    const float lines = static_cast<float>(size - 1) / static_cast<float>(unsignedSpacing);
    return lines < 2147483520.0f ? static_cast<int32_t>(lines) + 1 : std::numeric_limits<int32_t>::max();
}

} // namespace

void CProcessingParams::Clamp()
{
    Limit<uint32_t>(m_iFirHigh, 10, 50);
    Limit<uint32_t>(m_iFirLow, 1, 20);
    Limit(m_iTimeGain, 0, 255);
    Limit(m_iTgLinear, 100, 3000);
    Limit(m_iTgExponent, 1, 1000);
    Limit(m_iTgStart, 0, 1000);
    Limit(m_iDelMean, 3, 80);
    Limit(m_iAperture, 1, 40);
    Limit(m_iThreshold, -255, 255);
}

bool CProcessingParams::operator==(const CProcessingParams& o) const
{
    return m_bMigration == o.m_bMigration && m_bFirOn == o.m_bFirOn && m_iFirHigh == o.m_iFirHigh &&
           m_iFirLow == o.m_iFirLow && m_iTimeGain == o.m_iTimeGain &&
           m_iTgLinear == o.m_iTgLinear && m_iTgExponent == o.m_iTgExponent &&
           m_iTgStart == o.m_iTgStart && m_bAgcOn == o.m_bAgcOn &&
           m_iAgcWindow == o.m_iAgcWindow && m_iAgcScale == o.m_iAgcScale &&
           m_bDelMeanOn == o.m_bDelMeanOn && m_iDelMean == o.m_iDelMean &&
           m_iAperture == o.m_iAperture && m_iThreshold == o.m_iThreshold;
}

void CProjectSettings::Reset()
{
    m_strProjectName.clear();
    m_dSystemCalibration = 0;
    m_iStackExponent = 0;
    m_antenna.m_dFrequency = 0;
    m_antenna.m_bValid = false;
    m_antenna.m_dSeparation = 0;
    m_antenna.m_dEmLagDistance = 0;
    m_antenna.m_iRampKind = 0;
    m_antenna.m_iFrequencySteps = 1;
    m_dWheelCalibration = 0;
    m_bNegativeDirection = false;
    m_pMaterial = nullptr;
    m_params = CProcessingParams();
    m_dVelocity = 0;
    m_iGridSizeX = 0;
    m_iGridSizeY = 0;
    m_iSizeX = 0;
    m_iSizeY = 0;
    m_dResolution = 0;
    m_iProfileSpacing = 0;
    m_iSamples = 0;
    m_iZeroLevel = 0;
    m_iDepthIndex = 0;
    m_bDepthUnits = false;
    m_bLengthUnits = false;
    m_bHasEmData = false;
    m_units = UNITS_SI;
    m_iAngle = 0;
    m_iContrast = 0;
    m_iGridMode = 0;
    m_signature.Free();
    m_bUseZeroLevel = false;
    m_fAutoGain = 0;
}

int32_t CProjectSettings::GetXLineCount() const
{
    return LineCount(m_iGridMode, m_iGridSizeX, m_iSizeX, m_iProfileSpacing);
}

int32_t CProjectSettings::GetYLineCount() const
{
    return LineCount(m_iGridMode, m_iGridSizeY, m_iSizeY, m_iProfileSpacing);
}

double CProjectSettings::DepthToSample(double depth) const
{
    const double perSample = StepsOf(m_antenna) * m_dSystemCalibration * m_dVelocity * 0.5;
    if (!(perSample > 0))
        return m_iZeroLevel;
    const double half = m_antenna.m_dSeparation * 0.5;
    return m_iZeroLevel + (std::sqrt(half * half + depth * depth) - half) / perSample;
}

double CProjectSettings::SampleToDepth(float sample) const
{
    const double timeVelocity = m_dSystemCalibration * m_dVelocity;
    if (!(timeVelocity > 0))
        return 0;
    const float distance = std::fabs(sample - static_cast<float>(m_iZeroLevel));
    const float steps = static_cast<float>(StepsOf(m_antenna)) * distance;
    const double p = steps * timeVelocity * 0.5;
    const double product = (m_antenna.m_dSeparation + p) * p;
    return product > 0 ? std::sqrt(product) : 0.0;
}

int ClampToRange(int& value, const TIntRange& range)
{
    if (value < range.iLow)
        value = range.iLow;
    else if (value > range.iHigh)
        value = range.iHigh;
    return value;
}
