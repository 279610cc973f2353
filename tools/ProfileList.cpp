#include "ProfileList.h"

#include "Values.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The digits of a profile's number without leading zeros.
std::string NumberDigits(const std::string& fileName)
{
    const size_t end = fileName.find('.');
    const size_t first = fileName.find_first_not_of('0', 1);
    return first < end ? fileName.substr(first, end - first) : std::string();
}

} // namespace

char ProfileDirection(const std::string& fileName)
{
    const size_t dot = fileName.find('.');
    if (dot == std::string::npos || dot < 2)
        return 0;
    const std::string extension = fileName.substr(dot);
    if (extension != ".rad" && extension != ".RAD")
        return 0;
    for (size_t i = 1; i < dot; ++i)
        if (!std::isdigit(static_cast<unsigned char>(fileName[i])))
            return 0;
    return fileName[0] == 'V' || fileName[0] == 'H' ? fileName[0] : 0;
}

bool ProfileNameLess(const std::string& a, const std::string& b)
{
    // Numbers of any length compare as digit strings: the shorter is the smaller.
    const std::string x = NumberDigits(a);
    const std::string y = NumberDigits(b);
    if (x.size() != y.size())
        return x.size() < y.size();
    if (x != y)
        return x < y;
    return a < b;
}

bool ListSurveyProfiles(const std::string& folder, std::vector<std::wstring>& vertical,
                        std::vector<std::wstring>& horizontal, std::string& error)
{
    std::vector<std::string> names[2];
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (const char direction = ProfileDirection(name))
            names[direction == 'V' ? 0 : 1].push_back(name);
    }
    if (ec) {
        error = "cannot read " + folder + ": " + ec.message();
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        std::sort(names[i].begin(), names[i].end(), ProfileNameLess);
        for (const std::string& name : names[i])
            (i == 0 ? vertical : horizontal).push_back(FromAnsi(name));
    }
    return true;
}
