#pragma once
// Synthetic radar surveys for tests, fuzz seeds, benchmarks and demonstrations: a folder of
// profile pairs (".rad" header, ".rd3" samples) over a rectangular area. Vertical profiles run
// along Y and lie side by side along X, horizontal profiles run along X and lie side by side
// along Y. Each trace holds the direct wave at the zero level, diffraction hyperbolas of point
// scatterers, reflections of planar layers and band-limited noise, all shaped by a Ricker
// wavelet of the antenna's centre frequency. The output depends only on the parameters and
// the seed.
//
// Travel time: an event at the distance r (m) from the antenna midpoint arrives at the sample
// zeroLevel + (sqrt((s/2)^2 + r^2) - s/2) / (dt * v / 2), s the antenna separation, dt the time
// per sample in microseconds and v the soil velocity in m/us; the program's depth conversion
// inverts exactly this.
//
// A project made from the survey places its lines every round(lineSpacing / traceInterval)
// traces, so the trace interval divides the line spacing in every survey made here: each line
// and each scatterer then lies at its own position on the grid. With 0.5 m over 0.04 m the
// lines would go every 13 traces (0.52 m), and the two directions would place a scatterer up
// to 0.6 m apart.

#include <cstdint>
#include <string>
#include <vector>

namespace SurveyGen {

// A point reflector (a pipe crossing, a stone), seen as a diffraction hyperbola.
struct CScatterer
{
    double x = 0;         // m
    double y = 0;         // m
    double depth = 0;     // m below the surface, > 0
    double amplitude = 0; // counts at the apex, in the trace right above it
};

// A planar interface at the depth depth + dipX * x + dipY * y (m). Traces above a part that
// lies at or above the surface get no reflection from it.
struct CLayer
{
    double depth = 0;     // m at x = y = 0, > 0
    double dipX = 0;      // m per m along X
    double dipY = 0;      // m per m along Y
    double amplitude = 0; // counts where the layer lies at `depth` from the antenna
};

// Default values make the reference survey: 20 m x 20 m, lines every 0.5 m in both
// directions, traces every 0.05 m (41 + 41 profiles of 401 traces, lines every 10 traces),
// 512 samples over 100 ns, 500 MHz.
struct CSurveyParams
{
    double sizeX = 20.0;          // m, extent along X
    double sizeY = 20.0;          // m, extent along Y
    double lineSpacing = 0.5;     // m between neighbouring profiles of one direction
    double traceInterval = 0.05;  // m between traces along a profile (DISTANCE INTERVAL)
    int samples = 512;            // per trace
    double timeWindowNs = 100.0;  // ns spanned by the samples (TIMEWINDOW)
    double velocity = 80.0;       // m/us, soil
    double frequencyMHz = 500.0;  // antenna centre frequency
    double separation = 0.1;      // m between transmitter and receiver
    int zeroLevel = 21;           // sample of the direct wave, depth 0
    double directAmplitude = 20000.0; // counts, peak of the direct wave
    double noiseLevel = 60.0;     // counts, RMS of the band-limited noise
    uint64_t seed = 1;            // noise only
    std::vector<CScatterer> scatterers = {
        {6.0, 8.0, 0.8, 12000.0}, {12.0, 12.0, 1.4, 6000.0}, {14.5, 5.5, 2.0, 3000.0}};
    std::vector<CLayer> layers = {{2.2, 0.02, 0.01, 3000.0}};
};

CSurveyParams ReferenceSurvey();
// The reference survey over 41.56 m x 41.56 m, for measuring the program on a survey of the
// size of a large site: 81 + 81 profiles of 1040 traces every 0.04 m, lines every 0.52 m
// (13 traces) up to 41.6 m, 512 samples. The grid is 80 x 13 + 1 = 1041 traces each way and
// its matrix 2 x 81 x 1041 x 512 floats (345 MB).
CSurveyParams LargeSurvey();
// 2 m x 1.6 m, lines every 0.4 m (10 traces of 0.04 m): 6 vertical profiles of 41 traces and
// 5 horizontal ones of 51 traces, 64 samples over 25 ns, one scatterer, no layer.
CSurveyParams SmallSurvey();

struct CProfileInfo
{
    std::string name;  // "V000", "V001", ... and "H000", ... without extension
    bool vertical = true;
    int index = 0;     // within its direction, ordered by position
    double position = 0; // m: x of a vertical profile, y of a horizontal one
    int traces = 0;    // the first at 0 m, then every traceInterval
};

// Empty text when the parameters describe a survey that can be made, else the reason.
std::string CheckParams(const CSurveyParams& params);

// Vertical profiles first, then horizontal ones; empty when CheckParams fails.
std::vector<CProfileInfo> ListProfiles(const CSurveyParams& params);

// Time per sample in microseconds (SYSTEM CALIBRATION).
double SampleTimeUs(const CSurveyParams& params);

// Sample position at which an event at `distance` m from the antenna midpoint arrives.
double ArrivalSample(const CSurveyParams& params, double distance);

// The ".rad" text of a profile: key:value lines ending with CR LF, in the order the instruments
// write them, which readers of other programs rely on. FREQUENCY is the sampling frequency
// (MHz, 1 / SYSTEM CALIBRATION); the antenna's centre frequency stands in ANTENNAS.
std::string MakeRadHeader(const CSurveyParams& params, const CProfileInfo& profile);

// traces x samples values, trace after trace, as stored in the ".rd3" file; empty when
// CheckParams fails.
std::vector<int16_t> MakeProfileSamples(const CSurveyParams& params, const CProfileInfo& profile);

// Creates the folder with its parents and writes every profile pair into it. On failure
// returns false with the reason in *error (when error is not null).
bool WriteSurvey(const CSurveyParams& params, const std::string& folder, std::string* error);

} // namespace SurveyGen
