#include "ZeroLevel.h"

#include "MessageLog.h"
#include "Project.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <vector>

bool FindZeroLevel(CProject& project, int32_t& zeroLevel)
{
    project.SelectXProfile(0);
    const int32_t traces = project.m_nCurTraces;
    const int samples = std::max(project.m_settings.m_iSamples, 0);
    std::vector<int16_t> raw(static_cast<size_t>(samples));
    std::vector<float> trace(static_cast<size_t>(samples));
    int64_t sum = 0;
    int64_t arrivals = 0;
    for (int32_t t = 1; t < traces; ++t) {
        if (project.m_pCurOffsets[t] == 0)
            continue; // no record
        if (!project.ReadTrace(t, raw.data())) {
            g_messageLog.Log(LOG_FILE_ERROR, "FindZeroLevel(): trace %d of X line 0 is short.", t);
            return false;
        }
        if (std::all_of(raw.begin(), raw.end(), [](int16_t v) { return v == 0; }))
            continue;
        std::transform(raw.begin(), raw.end(), trace.begin(), [](int16_t v) { return v * kSampleToFloat; });
        sum += FindFirstArrival(trace.data(), samples);
        ++arrivals;
    }
    if (arrivals == 0) {
        g_messageLog.Log(LOG_INFO, "FindZeroLevel(): no trace of X line 0 after the first has a first arrival.");
        return false;
    }
    zeroLevel = static_cast<int32_t>(sum / arrivals);
    return true;
}
