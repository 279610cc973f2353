// The profile view: the migration preview against the migration itself, the gain factor, and
// the velocity hyperbola against curves computed by hand.

#include "ProfileDataSideView.h"

#include "GeneratedSurveyTest.h"
#include "RecordingWnd.h"
#include "ReferenceSectionImage.h"

#include "Cfg.h"
#include "Matrix.h"
#include "Migration.h"
#include "Project.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kSamples = 64;
constexpr int kLine = 2;

class ProfileDataSideViewTest : public GeneratedSurveyTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateShown(200, 100));
        ASSERT_TRUE(m_project.Open(s_rhdPath));
        CProjectSettings& s = m_project.m_settings;
        ASSERT_EQ(s.m_iSamples, kSamples);
        s.m_params.m_iTimeGain = 0;
        m_project.m_fCursorY = float(kLine * s.m_iProfileSpacing);
        ASSERT_TRUE(m_matrix.Init(&m_project));
        ASSERT_TRUE(m_matrix.Calculate());
        ASSERT_TRUE(m_view.Create(&m_parent, 5, CDataSideView::DIRECTION_X));
        m_view.SetPainterEnabled(false);
        m_width = s.m_iSizeX;
        m_view.Resize(CRect(0, 0, m_width, kSamples));
        m_view.SetData(&m_project, &m_matrix);
        m_view.Show(true);
        ASSERT_EQ(m_view.GetSectionLine(), kLine);
    }

    std::vector<uint8_t> Rendered()
    {
        m_view.Render(CRect(0, 0, m_width, kSamples));
        EXPECT_TRUE(m_view.IsImageValid());
        const Tovrik::CMemDC& image = m_view.GetImage();
        return std::vector<uint8_t>(image.GetBits(), image.GetBits() + size_t(image.GetStride()) * kSamples);
    }

    CIndexPalette m_palette;
    CRecordingWnd m_parent;
    CProject m_project;
    C3DMatrix m_matrix;
    CProfileDataSideView m_view;
    int m_width = 0;
};

} // namespace

TEST_F(ProfileDataSideViewTest, PreviewShowsTheLineAsTheMigrationMakesIt)
{
    CProcessingParams& p = m_project.m_settings.m_params;
    p.m_bDelMeanOn = true;
    p.m_iDelMean = 9;
    p.m_bMigration = true;
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_MIGRATION;
    m_view.m_fGainFactor = 1.0f;
    const std::vector<uint8_t> preview = Rendered();

    // The line itself, migrated, shown plainly.
    const int positions = m_width, ns = kSamples;
    std::vector<float> section(size_t(positions) * ns), original(section.size());
    for (int t = 0; t < positions; ++t)
        std::copy_n(m_matrix.GetHorzTrace(kLine, uint32_t(t)), ns, original.begin() + t * ns);
    section = original;
    CMigration migration(&m_project, positions);
    ASSERT_TRUE(migration.Alloc());
    migration.BuildTable();
    migration.RemoveRunningMean(section.data());
    migration.Migrate(section.data());
    ASSERT_NE(section, original);
    for (int t = 0; t < positions; ++t)
        std::copy_n(section.begin() + t * ns, ns, m_matrix.EditHorzTrace(kLine, uint32_t(t)));
    p.m_bMigration = false;
    p.m_bDelMeanOn = false;
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_PLAIN;
    EXPECT_EQ(Rendered(), preview);
    for (int t = 0; t < positions; ++t)
        std::copy_n(original.begin() + t * ns, ns, m_matrix.EditHorzTrace(kLine, uint32_t(t)));
}

// Wider and narrower than the line, taller and shorter than its samples, with time gain,
// contrast and the migrated line scaled by the gain factor: the plain column-by-column render.
TEST_F(ProfileDataSideViewTest, MigratedPreviewEqualsThePlainRenderAtAnySize)
{
    CProjectSettings& s = m_project.m_settings;
    CProcessingParams& p = s.m_params;
    p.m_bDelMeanOn = true;
    p.m_iDelMean = 7;
    p.m_bMigration = true;
    p.m_iTimeGain = 60;
    p.m_iTgExponent = 1;
    s.m_iContrast = 6;
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_MIGRATION;
    m_view.m_fGainFactor = 1.7f;

    const int positions = m_width, ns = kSamples;
    std::vector<float> migrated(size_t(positions) * ns);
    for (int t = 0; t < positions; ++t)
        std::copy_n(m_matrix.GetHorzTrace(kLine, uint32_t(t)), ns, migrated.begin() + t * ns);
    CMigration migration(&m_project, positions);
    ASSERT_TRUE(migration.Alloc());
    migration.BuildTable();
    migration.RemoveRunningMean(migrated.data());
    migration.Migrate(migrated.data());

    const CSize sizes[] = {{2 * m_width + 3, 3 * kSamples + 1}, {m_width - 7, 41}, {97, kSamples}, {1, 1}};
    for (const CSize size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        const CRect rect(0, 0, size.cx, size.cy);
        m_view.Resize(rect);
        m_view.Render(rect);
        CReferenceSection section;
        section.pColumnMap = &m_view.GetColumnMap();
        section.pDepthMap = &m_view.GetDepthMap();
        section.pGain = &m_view.GetGain();
        for (int t = 0; t < positions; ++t)
            section.tracesA.push_back(migrated.data() + t * ns);
        section.tracesB = section.tracesA;
        section.weightA = m_view.m_fGainFactor;
        section.weightB = 0.0f;
        section.samples = ns;
        section.contrast = s.m_iContrast;
        section.width = size.cx;
        section.height = size.cy;
        const std::vector<uint32_t> expected = ReferenceSectionImage(section, g_cfg.m_curColors, g_cfg.m_bPaletteWrap);
        int differences = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                differences += m_view.GetImage().GetPixel(x, y) != expected[size_t(y) * size_t(size.cx) + size_t(x)];
        EXPECT_EQ(differences, 0);
    }
}

TEST_F(ProfileDataSideViewTest, GainFactorCountsOnlyWithMigration)
{
    CProcessingParams& p = m_project.m_settings.m_params;
    m_view.m_fGainFactor = 0.0f;
    const std::vector<uint8_t> plain = Rendered();
    m_view.m_fGainFactor = 5.0f;
    EXPECT_EQ(Rendered(), plain);
    // With migration a gain of 0 leaves nothing but the middle of the palette.
    p.m_bMigration = true;
    m_view.m_fGainFactor = 0.0f;
    m_view.Render(CRect(0, 0, m_width, kSamples));
    for (int y = 0; y < kSamples; y += 7)
        for (int x = 0; x < m_width; x += 5)
            EXPECT_EQ(m_view.GetImage().GetRowBits(y)[4 * x + 2], 128) << x << ", " << y;
}

TEST_F(ProfileDataSideViewTest, HyperbolaFollowsTheSlantDistanceFromTheCrossHair)
{
    // 0.01 m a sample (frequency steps 1 x 0.0002 us x 100 m/us / 2) from sample 0, no antenna
    // separation, 0.01 m a trace: a reflector 20 samples deep under trace 25 lies
    // sqrt(d^2 + 20^2) samples from trace 25 + d.
    CProjectSettings& s = m_project.m_settings;
    s.m_iZeroLevel = 0;
    s.m_antenna.m_dSeparation = 0;
    s.m_antenna.m_iFrequencySteps = 1;
    s.m_dSystemCalibration = 0.0002;
    s.m_dVelocity = 100;
    s.m_dResolution = 0.01;
    m_project.m_fCursorX = 25;
    m_project.m_fCursorDepth = 20;
    ASSERT_EQ(m_view.GetColumnMap().m_fStep, 1.0f);
    ASSERT_EQ(m_view.GetDepthMap().m_fStep, 1.0f);

    const CRect rect(0, 0, m_width, kSamples);
    const std::vector<CPoint> curve = m_view.HyperbolaPoints(rect, 0);
    // Half-width sqrt(0.64^2 - 0.2^2) / 0.01 = 60.8 columns: the whole view.
    ASSERT_EQ(curve.size(), size_t(m_width));
    const struct { int column, row; } cases[] = {
        {25, 20}, {30, 20}, {35, 22}, {45, 28}, {15, 22}, // sqrt(d^2 + 400), truncated
    };
    for (const auto& c : cases) {
        EXPECT_EQ(curve[size_t(c.column)], CPoint(c.column, c.row)) << c.column;
        EXPECT_EQ(m_view.HyperbolaPoints(rect, 2)[size_t(c.column)].y, c.row + 2);
    }

    // Drawn in hyperbola mode: black with white edges.
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_HYPERBOLAS;
    m_view.Render(rect);
    const auto red = [this](int x, int y) { return m_view.GetImage().GetRowBits(y)[4 * x + 2]; };
    const auto green = [this](int x, int y) { return m_view.GetImage().GetRowBits(y)[4 * x + 1]; };
    EXPECT_EQ(red(35, 22), 0);
    EXPECT_EQ(green(35, 22), 0);
    EXPECT_EQ(green(35, 20), 255);
    EXPECT_EQ(green(35, 24), 255);

    // At the bottom of the section the curve is 2 columns; at the left edge it starts at 0.
    m_project.m_fCursorDepth = kSamples;
    const std::vector<CPoint> apex = m_view.HyperbolaPoints(rect, 0);
    ASSERT_EQ(apex.size(), 2u);
    EXPECT_EQ(apex[0].x, 25);
    m_project.m_fCursorDepth = 20;
    m_project.m_fCursorX = 0;
    const std::vector<CPoint> left = m_view.HyperbolaPoints(rect, 0);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left.front().x, 0);
    EXPECT_EQ(left.back().x, std::min(int(60.795 + 2.0) - 1, m_width - 1));
}

TEST_F(ProfileDataSideViewTest, NoHyperbolaWithoutAPositiveVelocity)
{
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_PLAIN;
    const std::vector<uint8_t> plain = Rendered();
    m_view.m_nDisplayMode = CProfileDataSideView::DISPLAY_HYPERBOLAS;
    for (const double velocity : {0.0, -80.0}) {
        m_project.m_settings.m_dVelocity = velocity;
        EXPECT_TRUE(m_view.HyperbolaPoints(CRect(0, 0, m_width, kSamples), 0).empty()) << velocity;
        EXPECT_EQ(Rendered(), plain) << velocity;
    }
}
