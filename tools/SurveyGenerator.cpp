#include "SurveyGenerator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace SurveyGen {

namespace {

const double kPi = 3.14159265358979323846;

// Limits that keep a mistyped parameter from asking for gigabytes.
const int kMaxSamples = 32768;
const double kMaxTraces = 1000000.0;
const double kMaxLines = 10000.0;
const double kMaxValuesPerProfile = 268435456.0; // 512 MB of samples

// The Ricker wavelet is below 2e-5 of its peak beyond 1.5 periods from its centre.
const double kWaveletHalfWidthPeriods = 1.5;
// Quality factor of the band-pass that shapes the noise; about the antenna's bandwidth.
const double kNoiseQ = 1.0;
const int kNoiseWarmUp = 64;

// splitmix64: small, fast and the same on every platform and library.
class CRandom
{
public:
    explicit CRandom(uint64_t seed) : m_state(seed) {}

    uint64_t Next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Unit variance, near-Gaussian (sum of four uniforms), without library transcendentals.
    double Normal()
    {
        const double sum = Uniform() + Uniform() + Uniform() + Uniform();
        return (sum - 2.0) * std::sqrt(3.0);
    }

private:
    uint64_t m_state;
};

uint64_t Mix(uint64_t value)
{
    return CRandom(value).Next();
}

// Shortest text that reads back as the same double, never in exponent form.
std::string FormatNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

template <typename T>
std::string FormatWhole(T value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

bool IsPositive(double value)
{
    return std::isfinite(value) && value > 0;
}

// Traces along a profile of the given length, or lines across an extent.
int CountSteps(double length, double step)
{
    return static_cast<int>(std::lround(length / step)) + 1;
}

// Number of positions from 0 to length at step, checked before conversion.
std::string CheckCount(const char* what, double length, double step, double maxCount)
{
    const double count = length / step + 1.0;
    if (!std::isfinite(count) || count > maxCount)
        return std::string("too many ") + what + " (at most " + FormatNumber(maxCount) + ")";
    return std::string();
}

double Ricker(double timeNs, double frequencyGHz)
{
    const double a = kPi * frequencyGHz * timeNs;
    const double a2 = a * a;
    return (1.0 - 2.0 * a2) * std::exp(-a2);
}

// Second-order band-pass (0 dB at the centre frequency) for the noise.
struct CBandPass
{
    double b0 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    CBandPass(double centreCyclesPerSample)
    {
        const double w0 = 2.0 * kPi * centreCyclesPerSample;
        const double alpha = std::sin(w0) / (2.0 * kNoiseQ);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * std::cos(w0) / a0;
        a2 = (1.0 - alpha) / a0;
    }

    double Step(double x)
    {
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    // Output RMS for unit-variance white input: sqrt of the impulse response's energy.
    static double NoiseGain(double centreCyclesPerSample)
    {
        CBandPass filter(centreCyclesPerSample);
        double energy = 0;
        for (int i = 0; i < 4096; ++i) {
            const double h = filter.Step(i == 0 ? 1.0 : 0.0);
            energy += h * h;
        }
        return std::sqrt(energy);
    }
};

// Everything that stays the same for all traces of a survey.
struct CTraceModel
{
    const CSurveyParams& params;
    double dtNs;
    double frequencyGHz;
    double halfWidthSamples;
    double noiseScale;
    double cyclesPerSample;

    explicit CTraceModel(const CSurveyParams& p)
        : params(p),
          dtNs(p.timeWindowNs / p.samples),
          frequencyGHz(p.frequencyMHz / 1000.0),
          halfWidthSamples(kWaveletHalfWidthPeriods / (frequencyGHz * dtNs)),
          noiseScale(0),
          cyclesPerSample(frequencyGHz * dtNs)
    {
        if (p.noiseLevel > 0)
            noiseScale = p.noiseLevel / CBandPass::NoiseGain(cyclesPerSample);
    }

    // Adds a wavelet of the given peak centred at the (fractional) sample position.
    void AddWavelet(std::vector<double>& trace, double position, double amplitude) const
    {
        const double last = static_cast<double>(params.samples - 1);
        const double from = std::max(0.0, std::ceil(position - halfWidthSamples));
        const double to = std::min(last, std::floor(position + halfWidthSamples));
        if (from > to)
            return;
        for (int k = static_cast<int>(from); k <= static_cast<int>(to); ++k)
            trace[k] += amplitude * Ricker((k - position) * dtNs, frequencyGHz);
    }

    void AddNoise(std::vector<double>& trace, uint64_t traceSeed) const
    {
        if (noiseScale <= 0)
            return;
        CRandom random(traceSeed);
        CBandPass filter(cyclesPerSample);
        for (int i = 0; i < kNoiseWarmUp; ++i)
            filter.Step(random.Normal());
        for (double& value : trace)
            value += noiseScale * filter.Step(random.Normal());
    }

    void MakeTrace(std::vector<double>& trace, double x, double y, uint64_t traceSeed) const
    {
        std::fill(trace.begin(), trace.end(), 0.0);
        AddWavelet(trace, params.zeroLevel, params.directAmplitude);

        const double halfSeparation = params.separation * 0.5;
        for (const CScatterer& scatterer : params.scatterers) {
            const double dx = x - scatterer.x;
            const double dy = y - scatterer.y;
            const double r = std::sqrt(dx * dx + dy * dy + scatterer.depth * scatterer.depth);
            const double path = std::hypot(halfSeparation, r);
            const double apexPath = std::hypot(halfSeparation, scatterer.depth);
            // Spherical spreading on the way down and up, and the obliquity of the ray.
            const double spreading = (apexPath * apexPath) / (path * path) * (scatterer.depth / r);
            AddWavelet(trace, ArrivalSample(params, r), scatterer.amplitude * spreading);
        }

        for (const CLayer& layer : params.layers) {
            const double norm = std::sqrt(1.0 + layer.dipX * layer.dipX + layer.dipY * layer.dipY);
            // Distance from the antenna to the plane along its normal (zero-offset ray).
            const double distance = (layer.depth + layer.dipX * x + layer.dipY * y) / norm;
            if (distance <= 0)
                continue;
            const double reference = layer.depth / norm;
            AddWavelet(trace, ArrivalSample(params, distance), layer.amplitude * reference / distance);
        }

        AddNoise(trace, traceSeed);
    }
};

uint64_t TraceSeed(uint64_t seed, const CProfileInfo& profile, int trace)
{
    const uint64_t line = (static_cast<uint64_t>(profile.index) << 1) | (profile.vertical ? 0u : 1u);
    return Mix(Mix(seed ^ Mix(line)) + static_cast<uint64_t>(trace));
}

int16_t ToSample(double value)
{
    const double rounded = std::nearbyint(value);
    return static_cast<int16_t>(std::clamp(rounded, -32767.0, 32767.0));
}

std::string ProfileName(bool vertical, int index)
{
    std::string digits = FormatWhole(index);
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return (vertical ? "V" : "H") + digits;
}

bool WriteFile(const std::filesystem::path& path, const char* data, size_t size, std::string* error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(data, static_cast<std::streamsize>(size));
    if (file)
        file.close();
    if (!file) {
        if (error)
            *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

CSurveyParams ReferenceSurvey()
{
    return CSurveyParams();
}

CSurveyParams LargeSurvey()
{
    CSurveyParams params;
    // Profiles end one trace before the last line, so the grid closes at that line.
    params.sizeX = 41.56;
    params.sizeY = 41.56;
    params.lineSpacing = 0.52;
    params.traceInterval = 0.04;
    params.scatterers.push_back({26.0, 28.0, 1.0, 9000.0});
    params.scatterers.push_back({33.5, 14.5, 1.8, 5000.0});
    return params;
}

CSurveyParams SmallSurvey()
{
    CSurveyParams params;
    params.sizeX = 2.0;
    params.sizeY = 1.6;
    params.lineSpacing = 0.4;
    params.traceInterval = 0.04;
    params.samples = 64;
    params.timeWindowNs = 25.0;
    params.scatterers = {{0.8, 0.8, 0.3, 10000.0}};
    params.layers.clear();
    return params;
}

std::string CheckParams(const CSurveyParams& p)
{
    const bool sizesValid = std::isfinite(p.sizeX) && std::isfinite(p.sizeY) && p.sizeX >= 0 && p.sizeY >= 0;
    if (!sizesValid)
        return "the area's size must be 0 m or more";
    if (!IsPositive(p.lineSpacing) || !IsPositive(p.traceInterval))
        return "line spacing and trace interval must be greater than 0 m";
    if (p.samples < 2 || p.samples > kMaxSamples)
        return "samples per trace must lie between 2 and " + FormatWhole(kMaxSamples);
    if (p.zeroLevel < 0 || p.zeroLevel >= p.samples)
        return "the zero level must be a sample of the trace";
    if (!IsPositive(p.timeWindowNs) || !IsPositive(p.velocity) || !IsPositive(p.frequencyMHz))
        return "time window, velocity and frequency must be greater than 0";
    if (p.frequencyMHz / 1000.0 * (p.timeWindowNs / p.samples) >= 0.5)
        return "the antenna frequency lies above half the sampling frequency";
    if (!std::isfinite(p.separation) || p.separation < 0)
        return "the antenna separation must be 0 m or more";
    if (!std::isfinite(p.directAmplitude) || !std::isfinite(p.noiseLevel) || p.noiseLevel < 0)
        return "direct-wave amplitude and noise level must be finite, the noise level 0 or more";
    for (const CScatterer& s : p.scatterers) {
        if (!std::isfinite(s.x) || !std::isfinite(s.y) || !IsPositive(s.depth) || !std::isfinite(s.amplitude))
            return "a scatterer needs finite values and a depth greater than 0 m";
    }
    for (const CLayer& l : p.layers) {
        if (!IsPositive(l.depth) || !std::isfinite(l.dipX) || !std::isfinite(l.dipY) || !std::isfinite(l.amplitude))
            return "a layer needs finite values and a depth greater than 0 m";
    }
    for (const std::string& error :
         {CheckCount("vertical profiles", p.sizeX, p.lineSpacing, kMaxLines),
          CheckCount("horizontal profiles", p.sizeY, p.lineSpacing, kMaxLines),
          CheckCount("traces along Y", p.sizeY, p.traceInterval, kMaxTraces),
          CheckCount("traces along X", p.sizeX, p.traceInterval, kMaxTraces)}) {
        if (!error.empty())
            return error;
    }
    const double longest = static_cast<double>(std::max(CountSteps(p.sizeX, p.traceInterval),
                                                        CountSteps(p.sizeY, p.traceInterval)));
    if (longest * p.samples > kMaxValuesPerProfile)
        return "a profile would hold more than " + FormatNumber(kMaxValuesPerProfile) + " samples";
    return std::string();
}

std::vector<CProfileInfo> ListProfiles(const CSurveyParams& params)
{
    std::vector<CProfileInfo> profiles;
    if (!CheckParams(params).empty())
        return profiles;
    for (const bool vertical : {true, false}) {
        const int lines = CountSteps(vertical ? params.sizeX : params.sizeY, params.lineSpacing);
        const int traces = CountSteps(vertical ? params.sizeY : params.sizeX, params.traceInterval);
        for (int i = 0; i < lines; ++i) {
            CProfileInfo profile;
            profile.name = ProfileName(vertical, i);
            profile.vertical = vertical;
            profile.index = i;
            profile.position = i * params.lineSpacing;
            profile.traces = traces;
            profiles.push_back(profile);
        }
    }
    return profiles;
}

double SampleTimeUs(const CSurveyParams& params)
{
    return params.timeWindowNs / params.samples / 1000.0;
}

double ArrivalSample(const CSurveyParams& params, double distance)
{
    const double halfSeparation = params.separation * 0.5;
    const double metresPerSample = SampleTimeUs(params) * params.velocity * 0.5;
    return params.zeroLevel + (std::hypot(halfSeparation, distance) - halfSeparation) / metresPerSample;
}

std::string MakeRadHeader(const CSurveyParams& params, const CProfileInfo& profile)
{
    const double length = (profile.traces - 1) * params.traceInterval;
    const std::string comment = std::string("Quarvel survey generator, ") +
                                (profile.vertical ? "vertical profile at x " : "horizontal profile at y ") +
                                FormatNumber(profile.position) + " m, seed " +
                                FormatWhole(params.seed);
    // Samples per microsecond, from the same figures as the calibration so that the product is 1.
    const double samplingMHz = params.samples / params.timeWindowNs * 1000.0;
    const std::pair<const char*, std::string> lines[] = {
        {"SAMPLES", FormatWhole(params.samples)},
        {"FREQUENCY", FormatNumber(samplingMHz)},
        {"FREQUENCY STEPS", "1"},
        {"SIGNAL POSITION", "0"},
        {"RAW SIGNAL POSITION", "0"},
        {"DISTANCE FLAG", "1"},
        {"TIME FLAG", "0"},
        {"PROGRAM FLAG", "0"},
        {"EXTERNAL FLAG", "0"},
        {"TIME INTERVAL", "0"},
        {"DISTANCE INTERVAL", FormatNumber(params.traceInterval)},
        {"OPERATOR", "gensurvey"},
        {"CUSTOMER", "Quarvel"},
        {"SITE", "synthetic"},
        {"ANTENNAS", FormatNumber(params.frequencyMHz) + " MHz synthetic"},
        {"ANTENNA ORIENTATION", "0"},
        {"ANTENNA SEPARATION", FormatNumber(params.separation)},
        {"COMMENT", comment},
        {"TIMEWINDOW", FormatNumber(params.timeWindowNs)},
        {"STACKS", "1"},
        {"STACK EXPONENT", "0"},
        {"STACKING TIME", "0"},
        {"LAST TRACE", FormatWhole(profile.traces)},
        {"STOP POSITION", FormatNumber(length)},
        {"SYSTEM CALIBRATION", FormatNumber(SampleTimeUs(params))},
        {"START POSITION", "0"},
        {"SHORT FLAG", "1"},
        {"INTERMEDIATE FLAG", "0"},
        {"LONG FLAG", "0"},
        {"PREPROCESSING", "0"},
        {"HIGH", "0"},
        {"LOW", "0"},
        {"FIXED INCREMENT", "0"},
        {"FIXED MOVES UP", "0"},
        {"FIXED MOVES DOWN", "0"},
        {"FIXED POSITION", "0"},
        {"WHEEL CALIBRATION", "0"},
        {"POSITIVE DIRECTION", "1"},
    };
    std::string text;
    for (const auto& line : lines)
        text += std::string(line.first) + ":" + line.second + "\r\n";
    return text;
}

std::vector<int16_t> MakeProfileSamples(const CSurveyParams& params, const CProfileInfo& profile)
{
    std::vector<int16_t> samples;
    if (!CheckParams(params).empty() || profile.traces <= 0 || profile.traces > kMaxTraces ||
        static_cast<double>(profile.traces) * params.samples > kMaxValuesPerProfile)
        return samples;
    const CTraceModel model(params);
    std::vector<double> trace(static_cast<size_t>(params.samples));
    samples.reserve(static_cast<size_t>(profile.traces) * trace.size());
    for (int t = 0; t < profile.traces; ++t) {
        const double along = t * params.traceInterval;
        const double x = profile.vertical ? profile.position : along;
        const double y = profile.vertical ? along : profile.position;
        model.MakeTrace(trace, x, y, TraceSeed(params.seed, profile, t));
        for (const double value : trace)
            samples.push_back(ToSample(value));
    }
    return samples;
}

bool WriteSurvey(const CSurveyParams& params, const std::string& folder, std::string* error)
{
    const std::string problem = CheckParams(params);
    if (!problem.empty()) {
        if (error)
            *error = "invalid survey: " + problem;
        return false;
    }
    const std::filesystem::path directory(folder);
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec || !std::filesystem::is_directory(directory)) {
        if (error)
            *error = "cannot create folder " + folder + (ec ? ": " + ec.message() : std::string());
        return false;
    }
    std::vector<char> bytes;
    for (const CProfileInfo& profile : ListProfiles(params)) {
        const std::string header = MakeRadHeader(params, profile);
        if (!WriteFile(directory / (profile.name + ".rad"), header.data(), header.size(), error))
            return false;
        const std::vector<int16_t> samples = MakeProfileSamples(params, profile);
        bytes.resize(samples.size() * 2);
        for (size_t i = 0; i < samples.size(); ++i) {
            const uint16_t value = static_cast<uint16_t>(samples[i]);
            bytes[2 * i] = static_cast<char>(value & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(value >> 8);
        }
        if (!WriteFile(directory / (profile.name + ".rd3"), bytes.data(), bytes.size(), error))
            return false;
    }
    return true;
}

} // namespace SurveyGen
