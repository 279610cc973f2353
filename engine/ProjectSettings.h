#pragma once
// The project's settings record with its antenna and processing parts: everything that
// describes an open project apart from its trace data. Plain records, copied by value.

#include "ByteBuffer.h"
#include "Units.h"

#include <cstdint>
#include <string>

class CMaterial;

class CAntennaSettings
{
public:
    std::wstring m_strName;
    double m_dFrequency = 0;
    bool m_bValid = false;
    double m_dSeparation = 0;     // metres between transmitter and receiver
    double m_dEmLagDistance = 0;  // metres; 0.092 once the antenna keys are read
    int32_t m_iRampKind = 0;      // 0 short, 1 intermediate, 2 long
    int32_t m_iFrequencySteps = 1;
};

class CProcessingParams
{
public:
    void Clamp();
    bool operator==(const CProcessingParams& other) const;
    bool operator!=(const CProcessingParams& other) const { return !(*this == other); }

    bool m_bMigration = false;
    bool m_bFirOn = true;
    uint32_t m_iFirHigh = 25;
    uint32_t m_iFirLow = 5;
    int32_t m_iTimeGain = 30;
    int32_t m_iTgLinear = 1000;
    int32_t m_iTgExponent = 7;
    int32_t m_iTgStart = 30;
    bool m_bAgcOn = false;
    int32_t m_iAgcWindow = 40;
    int32_t m_iAgcScale = 5000;
    bool m_bDelMeanOn = false;
    int32_t m_iDelMean = 0;
    int32_t m_iAperture = 1;   // slice thickness in samples
    int32_t m_iThreshold = 0;
};

class CProjectSettings
{
public:
    CProjectSettings() { Reset(); }

    void Reset();

    void GetAntennaSettings(CAntennaSettings& antenna) const { antenna = m_antenna; }
    void GetProcessingParams(CProcessingParams& params) const { params = m_params; }
    void SetProcessingParams(const CProcessingParams& params) { m_params = params; }

    int32_t GetXLineCount() const;
    int32_t GetYLineCount() const;

    // Sample index <-> depth in metres below the zero level, through the antenna separation.
    double DepthToSample(double depth) const;
    double SampleToDepth(float sample) const;

    std::wstring m_strProjectName;
    double m_dSystemCalibration;  // time per sample
    int32_t m_iStackExponent;
    CAntennaSettings m_antenna;
    std::wstring m_strComment;
    double m_dWheelCalibration;
    bool m_bNegativeDirection;
    const CMaterial* m_pMaterial;  // an entry of the configuration's material list, not owned
    CProcessingParams m_params;
    double m_dVelocity;            // metres per microsecond
    int32_t m_iGridSizeX;          // raised to k * spacing + 1 in grid mode 1
    int32_t m_iGridSizeY;
    int32_t m_iSizeX;              // traces along X as read
    int32_t m_iSizeY;
    double m_dResolution;          // metres per trace
    int32_t m_iProfileSpacing;     // traces from one line to the next
    int32_t m_iSamples;
    int32_t m_iZeroLevel;
    int32_t m_iDepthIndex;
    bool m_bDepthUnits;
    bool m_bLengthUnits;
    bool m_bHasEmData;
    TUnits m_units;
    int32_t m_iAngle;
    int32_t m_iContrast;
    int32_t m_iGridMode;           // 1 lines every spacing traces, 2 radius grid, 0 after reset
    CByteBuffer m_signature;
    bool m_bUseZeroLevel;
    float m_fAutoGain;
};

struct TIntRange
{
    int iLow;
    int iHigh;
};

// Limits value to [low, high] in place and returns it.
int ClampToRange(int& value, const TIntRange& range);
