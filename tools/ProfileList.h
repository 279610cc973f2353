#pragma once
// The profiles of a survey folder as the createproject tool takes them: files "V<number>.rad"
// are vertical profiles, "H<number>.rad" horizontal ones (the extension in either case), each
// direction ordered by its number whatever the zero padding, so that V2 comes before V10.

#include <string>
#include <vector>

// The direction letter 'V' or 'H' of a profile header's file name, or 0 for any other name.
char ProfileDirection(const std::string& fileName);

// True when profile file name a comes before b: by number, then by name.
bool ProfileNameLess(const std::string& a, const std::string& b);

// The header file names of both directions, ordered; false with the reason in error when the
// folder cannot be read.
bool ListSurveyProfiles(const std::string& folder, std::vector<std::wstring>& vertical,
                        std::vector<std::wstring>& horizontal, std::string& error);
