#pragma once
// The values of one radar profile's ".rad" header with its folder and name, and access to
// the profile's ".rd3" samples (signed 16-bit little-endian, trace after trace).

#include <cstdint>
#include <string>

class CHeaders;

class CProfileHeader
{
public:
    CProfileHeader() { Reset(); }

    // The folder and the name with ".rad" or ".rd3", joined by one separator unless the folder
    // is empty or ends with one; the other-case extension when only that file exists.
    static std::wstring GetRadPath(const std::wstring& folder, const std::wstring& name);
    static std::wstring GetRd3Path(const std::wstring& folder, const std::wstring& name);
    std::wstring GetRadFileName() const { return m_strName + L".rad"; }

    void Reset();
    bool Load(const std::wstring& folder, const std::wstring& name);
    bool ParseRadHeader(const CHeaders& headers);
    // Reads at most byteCount bytes from the start of the ".rd3" file; true when any was read.
    bool ReadData(void* pBuffer, uint64_t byteCount) const;

    int m_iSamples;
    int m_iRawSignalPosition;
    int m_iDistanceFlag;
    int m_iTimeFlag;
    int m_iProgramFlag;
    int m_iExternalFlag;
    double m_dTimeInterval;
    double m_dDistanceInterval;
    double m_dTimeWindow;
    int m_iStacks;
    int m_iStackExponent;
    double m_dStackingTime;
    int m_iLastTrace;
    double m_dStopPosition;
    double m_dSystemCalibration;
    double m_dStartPosition;
    int m_iPreprocessing;
    int m_iHigh;
    int m_iLow;
    double m_dFixedIncrement;
    int m_iFixedMovesUp;
    int m_iFixedMovesDown;
    double m_dFixedPosition;

    std::wstring m_strAntenna;
    double m_dFrequency;
    double m_dAntennaSeparation;
    int m_iRampKind; // 0 short, 1 intermediate, 2 long
    int m_iFrequencySteps;

    std::wstring m_strComment;
    double m_dWheelCalibration;
    bool m_bNegativeDirection;

    std::wstring m_strFolder; // as passed to Load
    std::wstring m_strName;   // base name without extension
};
