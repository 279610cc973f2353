#include "Matrix.h"

#include "Cfg.h"
#include "Project.h"
#include "ProjectFixture.h"
#include "ReferenceSlice.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <vector>

namespace {

// While set, hashing fails as a system failure would: with errno set.
bool g_bFailDigestUpdate = false;

} // namespace

// Stands in for OpenSSL's update function in this test program and passes every call on,
// except while a test asks for a failure.
extern "C" int EVP_DigestUpdate(EVP_MD_CTX* context, const void* data, size_t count)
{
    using Update = int (*)(EVP_MD_CTX*, const void*, size_t);
    static const Update s_update = reinterpret_cast<Update>(dlsym(RTLD_NEXT, "EVP_DigestUpdate"));
    if (g_bFailDigestUpdate) {
        errno = ENOMEM;
        return 0;
    }
    return s_update(context, data, count);
}

namespace {

constexpr float kToFloat = 3.051851e-5f;

struct MatrixTest : testing::Test
{
    CTempDir dir;
    CGeneratedProject made;
    CProject project;
    C3DMatrix matrix;

    void SetUp() override
    {
        g_cfg.SetDefaults();
        g_cfg.InitPalettes();
        made = CreateGeneratedProject(dir);
        ASSERT_TRUE(project.Open(made.rhdPath));
        ASSERT_TRUE(matrix.Init(&project));
    }

    std::vector<float> RawTrace(bool vertical, int line, int trace)
    {
        vertical ? project.SelectXProfile(line) : project.SelectYProfile(line);
        std::vector<int16_t> raw(static_cast<size_t>(made.params.samples));
        project.ReadTrace(trace, raw.data());
        std::vector<float> out(raw.size());
        std::transform(raw.begin(), raw.end(), out.begin(), [](int16_t v) { return v * kToFloat; });
        return out;
    }
};

// The disabled band pass, written out: less the mean of the second half without its last
// five samples, clipped to -1 .. 1.
std::vector<float> MeanRemovedAndClipped(std::vector<float> trace)
{
    const size_t n = trace.size();
    double sum = 0;
    for (size_t i = n / 2; i < n - 5; ++i)
        sum += trace[i];
    const double mean = sum / double(n / 2 - 5);
    for (float& v : trace)
        v = std::clamp(static_cast<float>(v - mean), -1.0f, 1.0f);
    return trace;
}

} // namespace

TEST_F(MatrixTest, InitTakesTheSizesOfTheProject)
{
    EXPECT_EQ(matrix.m_nSamples, 64u);
    EXPECT_EQ(matrix.m_nNY, 51u);
    EXPECT_EQ(matrix.m_nNX, 61u);
    EXPECT_EQ(matrix.m_nVertLines, 7u);
    EXPECT_EQ(matrix.m_nHorzLines, 6u);
    EXPECT_EQ(matrix.m_nVertLinesProcessed, 7u);
    EXPECT_EQ(matrix.m_nVertReadCount, 51u);
    EXPECT_EQ(matrix.GetVertTrace(6, 50)[63], 0.0f);
}

TEST_F(MatrixTest, WithoutBandPassTracesAreMeanRemovedAndClipped)
{
    project.m_settings.m_params.m_bFirOn = false;
    project.m_settings.m_params.m_bDelMeanOn = false;
    project.m_settings.m_bUseZeroLevel = true;
    ASSERT_TRUE(matrix.Calculate());
    for (auto [vertical, line, trace] : {std::tuple{true, 2, 17}, {false, 3, 40}, {true, 6, 0}}) {
        const std::vector<float> expected = MeanRemovedAndClipped(RawTrace(vertical, line, trace));
        const float* got = vertical ? matrix.GetVertTrace(line, trace) : matrix.GetHorzTrace(line, trace);
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_NEAR(got[i], expected[i], 1e-6) << vertical << " " << line << " " << trace << " " << i;
    }
    for (float v : std::vector<float>(matrix.GetVertEm(0), matrix.GetVertEm(0) + 2 * 51))
        EXPECT_EQ(v, 0.0f); // no EM files
}

TEST_F(MatrixTest, ZeroLevelAveragesTheFirstArrivalsOfTracesWithData)
{
    project.m_settings.m_bUseZeroLevel = false;
    project.m_settings.m_iZeroLevel = 0;
    int64_t sum = 0, count = 0;
    for (int t = 1; t < 41; ++t) { // the first profile has 41 traces, the line 51
        std::vector<float> trace = RawTrace(true, 0, t);
        sum += FindFirstArrival(trace.data(), static_cast<int>(trace.size()));
        ++count;
    }
    ASSERT_TRUE(matrix.Calculate());
    EXPECT_EQ(project.m_settings.m_iZeroLevel, sum / count);
    EXPECT_NEAR(project.m_settings.m_iZeroLevel, made.params.zeroLevel, 6); // within a period of the direct wave

    project.m_settings.m_bUseZeroLevel = true;
    project.m_settings.m_iZeroLevel = 5;
    ASSERT_TRUE(matrix.Calculate());
    EXPECT_EQ(project.m_settings.m_iZeroLevel, 5);
}

TEST_F(MatrixTest, SliceThicknessDepthAndThreshold)
{
    project.m_settings.m_bUseZeroLevel = true;
    ASSERT_TRUE(matrix.Calculate());
    CProjectSettings& s = project.m_settings;
    s.m_params.m_iThreshold = 0;

    // The raw slice before its own band pass: compare one line through the same pass.
    auto sliceOf = [&](int depth, int thickness) {
        std::vector<float> line(51);
        for (uint32_t t = 0; t < 51; ++t) {
            const float* trace = matrix.GetVertTrace(2, t);
            if (thickness < 2) {
                line[t] = trace[depth];
            } else {
                float high = 0, low = 0;
                for (int k = std::max(0, depth - (thickness - 1) / 2); k < std::min(64, depth + thickness / 2); ++k) {
                    high = std::max(high, trace[k]);
                    low = std::min(low, trace[k]);
                }
                line[t] = std::fabs(high - low);
            }
        }
        FirBandPass(line.data(), line.data(), 51, false, 0, 0);
        return line;
    };
    for (auto [depth, thickness] : {std::pair{30, 1}, {10, 4}, {0, 5}, {63, 40}}) {
        s.m_iDepthIndex = depth;
        s.m_params.m_iAperture = thickness;
        matrix.ExtractSlice();
        const std::vector<float> expected = sliceOf(depth, thickness);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), matrix.GetVertSlice() + 2 * 51))
            << depth << " " << thickness;
    }
    for (int depth : {-1, 64, 1000}) { // outside the trace: nothing, whatever the thickness
        s.m_iDepthIndex = depth;
        s.m_params.m_iAperture = 40;
        matrix.ExtractSlice();
        EXPECT_TRUE(std::all_of(matrix.GetHorzSlice(), matrix.GetHorzSlice() + 6 * 61, [](float v) { return v == 0; }));
    }

    s.m_iDepthIndex = 30;
    s.m_params.m_iAperture = 1;
    s.m_params.m_iThreshold = -1;
    matrix.ExtractSlice();
    const std::vector<float> negative(matrix.GetVertSlice(), matrix.GetVertSlice() + 7 * 51);
    s.m_params.m_iThreshold = -255;
    matrix.ExtractSlice();
    EXPECT_TRUE(std::equal(negative.begin(), negative.end(), matrix.GetVertSlice()));
    EXPECT_TRUE(std::none_of(negative.begin(), negative.end(), [](float v) { return v > 0; }));
    s.m_params.m_iThreshold = 7;
    matrix.ExtractSlice();
    EXPECT_TRUE(std::none_of(matrix.GetVertSlice(), matrix.GetVertSlice() + 7 * 51, [](float v) { return v < 0; }));
}

// Both slice images exactly as read trace by trace from the matrix's samples.
void ExpectSlicesAsTheTraces(const C3DMatrix& matrix, const CProjectSettings& s)
{
    const std::vector<float> vert = ReferenceSetSlice(matrix, s, true), horz = ReferenceSetSlice(matrix, s, false);
    EXPECT_TRUE(std::equal(vert.begin(), vert.end(), matrix.GetVertSlice()));
    EXPECT_TRUE(std::equal(horz.begin(), horz.end(), matrix.GetHorzSlice()));
}

TEST_F(MatrixTest, SliceThroughRunsOfDepthsIsReadAsFromEachTrace)
{
    ASSERT_TRUE(matrix.Calculate());
    CProjectSettings& s = project.m_settings;
    const int ns = s.m_iSamples;
    struct CCase
    {
        int thickness;
        int threshold;
        bool bAgc;
    };
    // Thickness 5 at depth 14 straddles two aligned bands of 16 depths; 17 and more are wider
    // than a band.
    for (const CCase& c : {CCase{1, 0, false}, CCase{2, 0, false}, CCase{5, -3, false}, CCase{17, 0, true},
                           CCase{33, 4, false}, CCase{40, 0, true}, CCase{1, 9, true}}) {
        s.m_params.m_iAperture = c.thickness;
        s.m_params.m_iThreshold = c.threshold;
        s.m_params.m_bAgcOn = c.bAgc;
        // Steps across band edges both ways, jumps, both ends of the trace, and outside it.
        for (int depth : {14, 15, 16, 17, 16, 15, 31, 32, 47, 48, 0, 1, ns - 1, ns - 2, ns / 2, -1, ns, 20}) {
            s.m_iDepthIndex = depth;
            matrix.ExtractSlice();
            SCOPED_TRACE(testing::Message() << "thickness " << c.thickness << ", depth " << depth);
            ExpectSlicesAsTheTraces(matrix, s);
        }
    }
}

TEST_F(MatrixTest, SliceFollowsEveryChangeOfTheMatrix)
{
    CProjectSettings& s = project.m_settings;
    s.m_iDepthIndex = 30;
    s.m_params.m_iAperture = 1;
    s.m_params.m_iThreshold = 0;
    s.m_params.m_bAgcOn = false;
    ASSERT_TRUE(matrix.Calculate());
    ASSERT_TRUE(matrix.Save());
    matrix.ExtractSlice();
    const std::vector<float> cached(matrix.GetVertSlice(), matrix.GetVertSlice() + 7 * 51);
    ExpectSlicesAsTheTraces(matrix, s);

    const auto expectChanged = [&](const char* change) {
        SCOPED_TRACE(change);
        matrix.ExtractSlice();
        ExpectSlicesAsTheTraces(matrix, s);
        EXPECT_FALSE(std::equal(cached.begin(), cached.end(), matrix.GetVertSlice()));
    };
    // A recomputation with other filters, as the filter options and the previews of the
    // velocity and background-removal dialogs run it.
    s.m_params.m_bFirOn = !s.m_params.m_bFirOn;
    ASSERT_TRUE(matrix.Calculate());
    expectChanged("recomputed with the band pass switched");

    // Back from the cache, as after a preview.
    ASSERT_TRUE(matrix.Load());
    matrix.ExtractSlice();
    ExpectSlicesAsTheTraces(matrix, s);
    EXPECT_TRUE(std::equal(cached.begin(), cached.end(), matrix.GetVertSlice()));

    // A new zero level moves the migrated traces.
    s.m_params.m_bFirOn = !s.m_params.m_bFirOn;
    s.m_params.m_bMigration = true;
    s.m_bUseZeroLevel = true;
    s.m_iZeroLevel += 7;
    ASSERT_TRUE(matrix.Calculate());
    expectChanged("zero level changed");

    ASSERT_TRUE(matrix.Load());
    matrix.ExtractSlice();
    for (uint32_t t = 0; t < 51; ++t)
        matrix.EditVertTrace(3, t)[30] = t % 2 ? 0.5f : -0.25f;
    expectChanged("traces written");

    // A matrix bound again starts without the earlier depths.
    ASSERT_TRUE(matrix.Init(&project));
    expectChanged("bound again, all zero");
}

TEST_F(MatrixTest, AgcGainsEachSliceLineInsideTheLine)
{
    project.m_settings.m_bUseZeroLevel = true;
    ASSERT_TRUE(matrix.Calculate());
    CProjectSettings& s = project.m_settings;
    s.m_iDepthIndex = 30;
    s.m_params.m_iAperture = 1;
    s.m_params.m_iThreshold = 0;
    for (int window : {4, 200}) { // 200: wider than the line of 51 traces
        s.m_params.m_bAgcOn = true;
        s.m_params.m_iAgcWindow = window;
        s.m_params.m_iAgcScale = 5000;
        matrix.ExtractSlice();
        std::vector<float> line(51);
        for (uint32_t t = 0; t < 51; ++t)
            line[t] = matrix.GetVertTrace(1, t)[30];
        const int h = window / 2;
        std::vector<float> gained(51);
        for (int k = 0; k < 51; ++k) {
            double sum = 0;
            int n = 0;
            for (int j = std::max(0, k - h); j <= std::min(50, k + h); ++j, ++n)
                sum += std::fabs(double(line[size_t(j)]));
            const double floor = k <= h ? 0.0005 : 0.005;
            gained[size_t(k)] = static_cast<float>(line[size_t(k)] * 250.0 / std::max(floor, sum / n));
        }
        FirBandPass(gained.data(), gained.data(), 51, false, 0, 0);
        for (size_t k = 0; k < 51; ++k)
            EXPECT_NEAR(matrix.GetVertSlice()[51 + k], gained[k], 1e-5) << window << " " << k;
    }
}

TEST_F(MatrixTest, CacheSurvivesSaveAndLoadByteForByte)
{
    project.m_settings.m_params.m_bMigration = true;
    ASSERT_TRUE(matrix.Calculate());
    ASSERT_TRUE(matrix.Save());
    EXPECT_EQ(std::filesystem::file_size(made.File("_1.precalc")), 7u * 51 * 64 * 4);
    EXPECT_EQ(std::filesystem::file_size(made.File("_2.precalc")), 6u * 61 * 64 * 4);

    C3DMatrix loaded;
    ASSERT_TRUE(loaded.Init(&project));
    ASSERT_TRUE(loaded.Load());
    for (uint32_t line = 0; line < 7; ++line)
        for (uint32_t t = 0; t < 51; ++t)
            ASSERT_EQ(std::memcmp(loaded.GetVertTrace(line, t), matrix.GetVertTrace(line, t), 64 * 4), 0);
    for (uint32_t line = 0; line < 6; ++line)
        for (uint32_t t = 0; t < 61; ++t)
            ASSERT_EQ(std::memcmp(loaded.GetHorzTrace(line, t), matrix.GetHorzTrace(line, t), 64 * 4), 0);

    // The fingerprint: SHA-256 of the sample bytes of vertical line 0, positions excluded.
    const std::string rd6 = ReadFileBytes(made.File("_1.rd6"));
    std::string samples;
    for (size_t t = 0; t < 51; ++t)
        samples += rd6.substr(4 + t * (4 + 128) + 4, 128);
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(samples.data()), samples.size(), digest);
    ASSERT_EQ(loaded.m_fingerprint.GetSize(), 32);
    EXPECT_EQ(std::memcmp(loaded.m_fingerprint.GetData(), digest, 32), 0);

    loaded.Free(); // the fingerprint outlives the matrix data
    EXPECT_EQ(loaded.m_fingerprint.GetSize(), 32);
}

TEST_F(MatrixTest, IncompleteCacheIsComputedAgainNeverUsedInPart)
{
    project.m_settings.m_bUseZeroLevel = true;
    ASSERT_TRUE(matrix.Calculate());
    ASSERT_TRUE(matrix.Save());
    const std::string good = ReadFileBytes(made.File("_1.precalc"));

    // One trace short: logged with both sizes, then computed and cached again.
    std::string shortFile = good.substr(0, good.size() - 64 * 4);
    std::fill(shortFile.begin(), shortFile.end(), '\0');
    WriteFileBytes(made.File("_1.precalc"), shortFile);
    ClearLog();
    C3DMatrix loaded;
    ASSERT_TRUE(loaded.Init(&project));
    ASSERT_TRUE(loaded.Load());
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Error: 3DMatrix::Load(): Vertical precalc file data missmatches."), std::string::npos);
    EXPECT_NE(log.find("Error: \tfile size: " + std::to_string(good.size() - 256)), std::string::npos);
    EXPECT_NE(log.find("Error: \tdata size: " + std::to_string(good.size())), std::string::npos);
    EXPECT_EQ(std::memcmp(loaded.GetVertTrace(6, 50), matrix.GetVertTrace(6, 50), 256), 0);
    EXPECT_EQ(ReadFileBytes(made.File("_1.precalc")), good);

    // Only "_1.precalc" present: computed and both written.
    std::filesystem::remove(made.File("_2.precalc"));
    C3DMatrix again;
    ASSERT_TRUE(again.Init(&project));
    ASSERT_TRUE(again.Load());
    EXPECT_TRUE(std::filesystem::exists(made.File("_2.precalc")));
}

TEST_F(MatrixTest, FailedSaveLeavesNoCache)
{
    ASSERT_TRUE(matrix.Calculate());
    std::filesystem::create_directories(made.File("_2.precalc") + "/blocked");
    ClearLog();
    EXPECT_FALSE(matrix.Save());
    EXPECT_FALSE(std::filesystem::exists(made.File("_1.precalc")));
    EXPECT_NE(ReadLog().find("C3DMatrix::Save: fail to"), std::string::npos);
    C3DMatrix::RemovePreCalcFiles(project); // nothing to remove: no harm
}

TEST_F(MatrixTest, FingerprintCoversOnlyTheFirstVerticalLine)
{
    ASSERT_TRUE(matrix.ComputeDataHash(project));
    const CByteBuffer first = matrix.m_fingerprint;

    // Change a sample of vertical line 1: same fingerprint; of line 0: another one.
    std::string rd6 = ReadFileBytes(made.File("_1.rd6"));
    const size_t record = 4 + 128;
    rd6[4 + 51 * record + 4 + 10] ^= 0x55;
    WriteFileBytes(made.File("_1.rd6"), rd6);
    CProject other;
    ASSERT_TRUE(other.Open(made.rhdPath));
    C3DMatrix second;
    ASSERT_TRUE(second.ComputeDataHash(other));
    EXPECT_TRUE(second.m_fingerprint.IsEqual(first));
    rd6[4 + 3 * record + 4 + 10] ^= 0x55;
    WriteFileBytes(made.File("_1.rd6"), rd6);
    ASSERT_TRUE(other.Open(made.rhdPath));
    ASSERT_TRUE(second.ComputeDataHash(other));
    EXPECT_FALSE(second.m_fingerprint.IsEqual(first));

    // Computing the matrix keeps the fingerprint.
    ASSERT_TRUE(second.Init(&other));
    ASSERT_TRUE(second.Calculate());
    EXPECT_EQ(second.m_fingerprint.GetSize(), 32);
}

TEST_F(MatrixTest, EmValuesAreDespikedOffsetAndPlacedWithTheLag)
{
    // EM records for every grid trace: component c of trace t is t / 100 + c / 10, with a
    // spike on vertical line 0, trace 5.
    auto emFile = [](uint32_t lines, uint32_t perLine, bool bX) {
        std::string bytes(4, '\0');
        for (uint32_t line = 0; line < lines; ++line)
            for (uint32_t t = 0; t < perLine; ++t) {
                const uint32_t p = bX ? line * 10 * 51 + t : t * 51 + line * 10;
                bytes.append(reinterpret_cast<const char*>(&p), 4);
                for (int c = 0; c < 4; ++c) {
                    float value = t / 100.0f + c / 10.0f;
                    if (bX && line == 0 && t == 5 && c == 0)
                        value = 0.9f;
                    const int16_t raw = static_cast<int16_t>(std::lround(value / kToFloat));
                    bytes.append(reinterpret_cast<const char*>(&raw), 2);
                }
            }
        return bytes;
    };
    WriteFileBytes(made.File("_1.emm"), emFile(7, 51, true));
    WriteFileBytes(made.File("_2.emm"), emFile(6, 61, false));
    ASSERT_TRUE(project.Open(made.rhdPath));
    ASSERT_TRUE(project.m_settings.m_bHasEmData);
    ASSERT_TRUE(matrix.Init(&project));
    ASSERT_TRUE(matrix.Calculate());

    // Lag g = trunc(0.092 / 0.04 / 2) = 1; offset = the smallest component 0 (trace 0: 0).
    auto component = [](int t, int c) { return t / 100.0f + c / 10.0f; };
    const float* em = matrix.GetVertEm(0);
    EXPECT_NEAR(em[0], component(1, 2), 1e-4);               // first trace: trace 1's component 2
    EXPECT_NEAR(em[51], component(1, 3), 1e-4);
    EXPECT_NEAR(em[10], (component(9, 0) + component(11, 2)) / 2, 1e-4);
    EXPECT_NEAR(em[51 + 10], (component(9, 1) + component(11, 3)) / 2, 1e-4);
    EXPECT_NEAR(em[6], (component(5, 0) + component(7, 2)) / 2, 1e-4); // the spike was removed
    EXPECT_NEAR(em[50], component(49, 0), 1e-4);             // last trace: trace 49's component 0
    const float* horz = matrix.GetHorzEm(2); // the horizontal set swaps the runs
    EXPECT_NEAR(horz[61 + 10], (component(9, 0) + component(11, 2)) / 2, 1e-4);
    EXPECT_NEAR(horz[10], (component(9, 1) + component(11, 3)) / 2, 1e-4);
}

TEST_F(MatrixTest, FailedHashingLogsTheSystemError)
{
    ClearLog();
    g_bFailDigestUpdate = true;
    const bool bHashed = matrix.ComputeDataHash(project);
    g_bFailDigestUpdate = false;
    EXPECT_FALSE(bHashed);
    EXPECT_NE(ReadLog().find("Error: fail to crypt data, error: " + std::string(std::strerror(ENOMEM))),
              std::string::npos)
        << ReadLog();
    EXPECT_EQ(matrix.m_fingerprint.GetSize(), 32); // the digest of nothing
}

TEST_F(MatrixTest, FailedCalculateLeavesTheUnfinishedLinesAsTheyWere)
{
    project.m_settings.m_bUseZeroLevel = true;
    ASSERT_TRUE(matrix.Calculate());
    const size_t traceBytes = 64 * sizeof(float);
    const std::vector<float> before(matrix.GetVertTrace(0, 0), matrix.GetVertTrace(0, 0) + 7 * 51 * 64);

    // Vertical line 3 ends inside its trace 10; computing with other settings fails there.
    const size_t record = 4 + 128;
    std::filesystem::resize_file(made.File("_1.rd6"), 4 + (3 * 51 + 10) * record + 20);
    project.m_settings.m_params.m_bFirOn = !project.m_settings.m_params.m_bFirOn;
    EXPECT_FALSE(matrix.Calculate());

    for (uint32_t line = 0; line < 7; ++line) {
        const bool bChanged = std::memcmp(matrix.GetVertTrace(line, 20), &before[(line * 51 + 20) * 64], traceBytes) != 0;
        EXPECT_EQ(bChanged, line < 3) << "line " << line;
        if (line >= 3) {
            EXPECT_EQ(std::memcmp(matrix.GetVertTrace(line, 0), &before[line * 51 * 64], 51 * traceBytes), 0)
                << "line " << line;
        }
    }
}
