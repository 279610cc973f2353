#include "AppFixture.h"

#include "MainFrame.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelResources.h"
#include "QuarvelView.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "FileIo.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {
void ResetGlobals()
{
    RemoveFile(CCfg::GetCfgFilePath());
    g_cfg.SetDefaults();
    g_drawingManager.ResetDefaults();
    QSettings(QStringLiteral("Tovrik"), QStringLiteral("quarvel")).remove(QStringLiteral("Recent File List"));
}
} // namespace

void AppFixture::SetUp()
{
    ResetGlobals();
}

void AppFixture::TearDown()
{
    m_pApp.reset();
    AfxFlushDeletedWindows();
    g_drawingManager.RemoveAll();
}

bool AppFixture::Start(const std::vector<std::string>& args)
{
    m_pApp = std::make_unique<CQuarvelApp>();
    m_pApp->SetCommandLine(args);
    return m_pApp->InitInstance();
}

CMainFrame* AppFixture::Frame() const
{
    return m_pApp ? dynamic_cast<CMainFrame*>(m_pApp->GetMainWnd()) : nullptr;
}

CQuarvelDoc* AppFixture::Doc() const
{
    return m_pApp ? m_pApp->GetDocument() : nullptr;
}

CQuarvelView* AppFixture::View() const
{
    return Frame() ? dynamic_cast<CQuarvelView*>(Frame()->GetActiveView()) : nullptr;
}

void SetFileValue(const std::string& path, const std::string& key, const std::string& value)
{
    std::string text = ReadFileBytes(path);
    const std::string prefix = key + ":";
    const size_t at = text.find("\r\n" + prefix);
    ASSERT_NE(at, std::string::npos) << key;
    const size_t start = at + 2 + prefix.size();
    text.replace(start, text.find("\r\n", start) - start, value);
    WriteFileBytes(path, text);
}

std::string GetFileValue(const std::string& path, const std::string& key)
{
    const std::string text = ReadFileBytes(path);
    const size_t at = text.find("\r\n" + key + ":");
    if (at == std::string::npos)
        return std::string();
    const size_t start = at + 3 + key.size();
    return text.substr(start, text.find("\r\n", start) - start);
}

void DocumentFixture::SetUp()
{
    ResetGlobals();
    AfxSetResourceSet(&GetQuarvelResources());
}

void DocumentFixture::TearDown()
{
    g_drawingManager.RemoveAll();
    AfxSetResourceSet(nullptr);
}
