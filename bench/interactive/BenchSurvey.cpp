#include "BenchSurvey.h"

#include "Matrix.h"
#include "Project.h"

bool OpenComputed(CProject& project, C3DMatrix& matrix, const std::wstring& path, std::string& error)
{
    if (!project.Open(path) || !matrix.ComputeDataHash(project)) {
        error = "project not opened";
        return false;
    }
    const bool bCached = project.m_bSettingsLoaded && project.m_settings.m_signature.IsEqual(matrix.m_fingerprint);
    if (!matrix.Init(&project) || !(bCached ? matrix.Load() : matrix.Calculate())) {
        error = "project not computed";
        return false;
    }
    return true;
}
