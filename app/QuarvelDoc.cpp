#include "QuarvelDoc.h"

#include "Messages.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "Services.h"
#include "WinApp.h"
#include "Wnd.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "FileIo.h"
#include "MessageLog.h"

#include <algorithm>
#include <cmath>

bool CQuarvelDoc::OnOpenDocument(const std::wstring& path)
{
    // The old project goes first, so that no window is left with pointers into it.
    Empty();
    if (!m_project.Open(path)) {
        AfxMessageBox(L"Unable to open project.", MB_OK | MB_ICONEXCLAMATION);
        Empty();
        return false;
    }
    if (!m_matrix.ComputeDataHash(m_project)) {
        g_messageLog.Log(LOG_ERROR, "CQuarvelDoc::OnOpenDocument(): no data fingerprint.");
        AfxMessageBox(L"Unable to open project.", MB_OK | MB_ICONEXCLAMATION);
        Empty();
        return false;
    }
    bool bComputed = true;
    bool bMatrix = false;
    if (m_project.m_bSettingsLoaded) {
        if (m_project.m_settings.m_signature.IsEqual(m_matrix.m_fingerprint)) {
            bComputed = false;
            bMatrix = m_matrix.Init(&m_project) && m_matrix.Load();
        } else {
            // Files of the other data that stay are read again below; no save may replace them.
            m_bForeignFilesInPlace = !m_project.DeleteSettingsFiles();
            C3DMatrix::RemovePreCalcFiles(m_project);
            AfxMessageBox(L"Project header settings file is not for current project data file. Will load from "
                          L"original settings.",
                          MB_OK | MB_ICONEXCLAMATION);
            if (!m_project.Open(path)) {
                AfxMessageBox(L"Unable to open project.", MB_OK | MB_ICONEXCLAMATION);
                Empty();
                return false;
            }
        }
    }
    if (bComputed) {
        // No settings file, or a rejected one: the slow filters stay off until chosen.
        m_project.m_settings.m_params.m_bMigration = false;
        m_project.m_settings.m_params.m_bDelMeanOn = false;
        bMatrix = m_matrix.Init(&m_project) && m_matrix.Calculate();
        C3DMatrix::RemovePreCalcFiles(m_project);
        if (bMatrix)
            SetInitialContrast();
    }
    if (!bMatrix) {
        g_messageLog.Log(LOG_ERROR, "CQuarvelDoc::OnOpenDocument(): the data matrix could not be calculated.");
        AfxMessageBox(L"Unable to calculate project data.", MB_OK | MB_ICONEXCLAMATION);
        Empty();
        return false;
    }
    CProjectSettings& s = m_project.m_settings;
    s.m_signature = m_matrix.m_fingerprint;
    const std::wstring objectsPath = FindCompanionFile(m_project.GetObjectListPath());
    if (!g_drawingManager.LoadObjectList(objectsPath) && g_drawingManager.IsFileDamaged())
        AfxMessageBox(L"Unable to read all drawing objects from " + objectsPath +
                          L". The file will be kept as " + objectsPath +
                          L".bak (or .bak.1, .bak.2, ... when an earlier copy has that name) when the "
                          L"project is saved.",
                      MB_OK | MB_ICONEXCLAMATION);
    AnnounceObjects(DRAW_ADDED);
    if (static_cast<float>(s.m_iZeroLevel) > m_project.m_fCursorDepth) {
        s.m_iDepthIndex = s.m_iZeroLevel;
        m_project.m_fCursorDepth = static_cast<float>(s.m_iZeroLevel);
    }
    m_project.m_fHoverDepth = m_project.m_fCursorDepth;
    if (!g_cfg.m_bUnitsAll)
        g_cfg.m_units = s.m_units;
    return true;
}

int32_t CQuarvelDoc::ContrastFromSum(float sum)
{
    const float argument = 3.81f - sum * 0.00034129692f;
    if (!(argument > 0.0f))
        return 0;
    const double c = std::log(double(argument)) / 0.3 / std::log(1.11);
    return std::clamp(static_cast<int32_t>(c), 0, 100);
}

void CQuarvelDoc::SetInitialContrast()
{
    const CProjectSettings& s = m_project.m_settings;
    const uint32_t traces = std::min(uint32_t(std::max(s.m_iGridSizeY, 0)), m_matrix.m_nNY);
    const uint32_t samples = std::min(uint32_t(std::max(s.m_iSamples, 0)), m_matrix.m_nSamples);
    float sum = 0.0f;
    for (uint32_t t = 0; t < traces; ++t) {
        const float* trace = m_matrix.GetVertTrace(0, t);
        for (uint32_t i = 0; i < samples; ++i)
            sum += std::fabs(trace[i]);
    }
    m_project.m_settings.m_iContrast = ContrastFromSum(sum);
}

bool CQuarvelDoc::OnSaveDocument(const std::wstring&)
{
    m_strUnsavedObjectFile.clear();
    if (!m_project.IsOpen())
        return false;
    if (m_bForeignFilesInPlace)
        g_messageLog.Log(LOG_ERROR, "CQuarvelDoc::OnSaveDocument(): settings files of other data that could not be "
                                    "moved aside stay as they are; nothing is saved.");
    const bool bSettings = !m_bForeignFilesInPlace && m_project.SaveSettings();
    m_matrix.Save();
    if (!bSettings) {
        C3DMatrix::RemovePreCalcFiles(m_project);
        return false;
    }
    const std::wstring objectsPath = FindCompanionFile(m_project.GetObjectListPath());
    if (g_drawingManager.SaveObjectList(objectsPath))
        return true;
    m_strUnsavedObjectFile = objectsPath;
    return false;
}

bool CQuarvelDoc::Recalculate()
{
    bool bDone;
    {
        CWaitCursor wait;
        bDone = m_matrix.Calculate();
    }
    if (!bDone) {
        g_messageLog.Log(LOG_ERROR, "CQuarvelDoc::Recalculate(): the matrix could not be computed.");
        AfxMessageBox(L"The data could not be computed with the new settings.", MB_OK | MB_ICONEXCLAMATION);
    }
    return bDone;
}

bool CQuarvelDoc::SaveWithReport()
{
    if (OnSaveDocument(std::wstring()))
        return true;
    if (m_strUnsavedObjectFile.empty())
        AfxMessageBox(L"Error. Unable to save project settings.", MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBox(L"Error. Unable to save the drawing objects to " + m_strUnsavedObjectFile +
                          L". The project settings have been saved.",
                      MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CQuarvelDoc::DoFileSave()
{
    // Saving does not clear the modified flag.
    return SaveWithReport();
}

bool CQuarvelDoc::SaveModified()
{
    // Drawing objects count as changes too: the next project would drop them unsaved.
    if (!m_project.IsOpen() || !(m_project.IsSettingsChanged() || g_drawingManager.IsModified()))
        return true;
    switch (AfxMessageBox(AfxFormatString1(IDS_SAVE_CHANGED, m_project.m_strName), MB_YESNOCANCEL)) {
    case IDYES: return SaveWithReport();
    case IDNO: return true;
    default: return false;
    }
}

void CQuarvelDoc::OnCloseDocument()
{
    Empty();
}

void CQuarvelDoc::DeleteContents()
{
    m_project.Close();
    m_matrix.Free();
    m_bForeignFilesInPlace = false;
}

void CQuarvelDoc::Empty()
{
    UpdateAllViews(nullptr, HINT_PROJECT_CLOSED);
    DeleteContents();
    g_drawingManager.RemoveAll();
    AnnounceObjects(DRAW_REMOVED);
}

void CQuarvelDoc::AnnounceObjects(WORD code)
{
    CWinApp* pApp = AfxGetApp();
    if (CWnd* pMain = pApp ? pApp->GetMainWnd() : nullptr)
        pMain->SendMessage(WM_DRAWING_EVENT, ID_SENDER_APPLICATION, MakeCodeParam(code, DRAW_NO_OBJECT));
}
