#pragma once
// What the view tests share: one generated survey per test suite, and a palette whose red is
// the palette index and blue its complement, without wrap and with the mouse wheel on, set
// for the lifetime of a fixture and restored after it.

#include "ProjectFixture.h"

#include "Cfg.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

class GeneratedSurveyTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<CTempDir>();
        s_rhdPath = CreateGeneratedProject(*s_dir).rhdPath;
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    inline static std::unique_ptr<CTempDir> s_dir;
    inline static std::wstring s_rhdPath;
};

class CIndexPalette
{
public:
    CIndexPalette()
        : m_savedColours(g_cfg.m_curColors), m_bSavedWrap(g_cfg.m_bPaletteWrap),
          m_bSavedWheel(g_cfg.m_bUseMouseWheel)
    {
        for (int i = 0; i < 256; ++i)
            g_cfg.m_curColors[size_t(i)] = RGB(i, 50, 255 - i);
        g_cfg.m_bPaletteWrap = false;
        g_cfg.m_bUseMouseWheel = true;
    }
    ~CIndexPalette()
    {
        g_cfg.m_curColors = m_savedColours;
        g_cfg.m_bPaletteWrap = m_bSavedWrap;
        g_cfg.m_bUseMouseWheel = m_bSavedWheel;
    }
    CIndexPalette(const CIndexPalette&) = delete;
    CIndexPalette& operator=(const CIndexPalette&) = delete;

private:
    TPaletteTable m_savedColours;
    bool m_bSavedWrap;
    bool m_bSavedWheel;
};
