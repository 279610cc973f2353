#include "ProfileHeader.h"

#include "FileIo.h"
#include "Headers.h"
#include "MessageLog.h"
#include "Values.h"

#include <cerrno>

std::wstring CProfileHeader::GetRadPath(const std::wstring& folder, const std::wstring& name)
{
    return FindCompanionFile(JoinPath(folder, name + L".rad"));
}

std::wstring CProfileHeader::GetRd3Path(const std::wstring& folder, const std::wstring& name)
{
    return FindCompanionFile(JoinPath(folder, name + L".rd3"));
}

void CProfileHeader::Reset()
{
    m_iSamples = 0;
    m_iRawSignalPosition = 0;
    m_iDistanceFlag = 0;
    m_iTimeFlag = 0;
    m_iProgramFlag = 0;
    m_iExternalFlag = 0;
    m_dTimeInterval = 0;
    m_dDistanceInterval = 0;
    m_dTimeWindow = 0;
    m_iStacks = 0;
    m_iStackExponent = 0;
    m_dStackingTime = 0;
    m_iLastTrace = 0;
    m_dStopPosition = 0;
    m_dSystemCalibration = 0;
    m_dStartPosition = 0;
    m_iPreprocessing = 0;
    m_iHigh = 0;
    m_iLow = 0;
    m_dFixedIncrement = 0;
    m_iFixedMovesUp = 0;
    m_iFixedMovesDown = 0;
    m_dFixedPosition = 0;
    m_strAntenna.clear();
    m_dFrequency = 0;
    m_dAntennaSeparation = 0;
    m_iRampKind = 0;
    m_iFrequencySteps = 1;
    m_strComment.clear();
    m_dWheelCalibration = 0;
    m_bNegativeDirection = false;
}

bool CProfileHeader::Load(const std::wstring& folder, const std::wstring& name)
{
    Reset();
    m_strFolder = folder;
    m_strName = name;
    const std::wstring path = GetRadPath(folder, name);
    CHeaders headers;
    headers.Load(path);
    const std::string narrow = NativePath(path);
    if (headers.IsEmpty()) {
        g_messageLog.Log(LOG_ERROR, "File is empty or does not exist. %s", narrow.c_str());
        g_messageLog.Flush();
        return false;
    }
    if (!ParseRadHeader(headers)) {
        g_messageLog.Log(LOG_ERROR, "Fail to parse rad header. %s", narrow.c_str());
        g_messageLog.Flush();
        return false;
    }
    return true;
}

bool CProfileHeader::ParseRadHeader(const CHeaders& headers)
{
    auto intOf = [&](const char* key) { return ReadInt(headers.GetValue(key)); };
    auto realOf = [&](const char* key) { return ReadReal(headers.GetValue(key)); };
    auto fail = [] {
        g_messageLog.Flush();
        return false;
    };

    // Sizes that are no whole numbers would read the sample file as another survey.
    const char* const what = "CProfileHeader::ParseRadHeader()";
    bool bWholeSizes = headers.GetWholeNumber("SAMPLES", m_iSamples, what);
    m_iRawSignalPosition = intOf("RAW SIGNAL POSITION");
    m_iDistanceFlag = intOf("DISTANCE FLAG");
    m_dSystemCalibration = realOf("SYSTEM CALIBRATION");
    m_iTimeFlag = intOf("TIME FLAG");
    m_iProgramFlag = intOf("PROGRAM FLAG");
    m_iExternalFlag = intOf("EXTERNAL FLAG");
    m_dTimeInterval = realOf("TIME INTERVAL");
    m_dDistanceInterval = realOf("DISTANCE INTERVAL");
    m_dTimeWindow = realOf("TIMEWINDOW");
    bWholeSizes = headers.GetWholeNumber("LAST TRACE", m_iLastTrace, what) && bWholeSizes;
    m_dStopPosition = realOf("STOP POSITION");
    m_dStartPosition = realOf("START POSITION");
    m_iPreprocessing = intOf("PREPROCESSING");
    m_iHigh = intOf("HIGH");
    m_iLow = intOf("LOW");
    m_dFixedIncrement = realOf("FIXED INCREMENT");
    m_iFixedMovesUp = intOf("FIXED MOVES UP");
    m_iFixedMovesDown = intOf("FIXED MOVES DOWN");
    m_dFixedPosition = realOf("FIXED POSITION");
    m_iStacks = intOf("STACKS");
    m_iStackExponent = intOf("STACK EXPONENT");
    m_dStackingTime = realOf("STACKING TIME");

    if (!bWholeSizes)
        return fail();
    if (!(m_dSystemCalibration > 0)) {
        g_messageLog.Log(LOG_ERROR, "sys.cal. value is invalid, %f", m_dSystemCalibration);
        return fail();
    }
    if (!(m_dDistanceInterval > 0)) {
        g_messageLog.Log(LOG_ERROR, "distance interval invalid, %f", m_dDistanceInterval);
        return fail();
    }
    if (m_iSamples <= 0) {
        g_messageLog.Log(LOG_ERROR, "samples value is invalid, %d", m_iSamples);
        return fail();
    }

    m_strAntenna = FromAnsi(CutBeforeEquals(headers.GetValue("ANTENNAS")));
    m_dFrequency = realOf("FREQUENCY");
    m_iFrequencySteps = intOf("FREQUENCY STEPS");
    m_dAntennaSeparation = realOf("ANTENNA SEPARATION");

    if (ReadFlagValue(headers.GetValue("SHORT FLAG")))
        m_iRampKind = 0;
    else if (ReadFlagValue(headers.GetValue("INTERMEDIATE FLAG")))
        m_iRampKind = 1;
    else if (ReadFlagValue(headers.GetValue("LONG FLAG")))
        m_iRampKind = 2;
    else {
        g_messageLog.Log(LOG_ERROR, "file missing ramp info.");
        return fail();
    }

    m_strComment = FromAnsi(CutBeforeEquals(headers.GetValue("COMMENT")));
    m_dWheelCalibration = realOf("WHEEL CALIBRATION");
    m_bNegativeDirection = !ReadFlagValue(headers.GetValue("POSITIVE DIRECTION"));
    return true;
}

bool CProfileHeader::ReadData(void* pBuffer, uint64_t byteCount) const
{
    const std::wstring path = GetRd3Path(m_strFolder, m_strName);
    FILE* file = OpenFile(path, "rb");
    if (!file) {
        g_messageLog.LogFileError(path, FileErrorCause(errno, path));
        g_messageLog.Flush();
        return false;
    }
    const size_t read = std::fread(pBuffer, 1, static_cast<size_t>(byteCount), file);
    std::fclose(file);
    return read > 0;
}
