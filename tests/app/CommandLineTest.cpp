// The program's command line, as the framework hands its parameters over.

#include "QuarvelApp.h"

#include "FileIo.h"

#include <gtest/gtest.h>

TEST(CommandLineTest, ParametersAsTheProgramReadsThem)
{
    struct Case
    {
        std::vector<std::string> args;
        int rhd;
        std::wstring path;
        int version;
    };
    const Case cases[] = {
        {{"rhd", "/home/u/x.rhd"}, 1, L"/home/u/x.rhd", 0},        // a "/" begins a path, not a flag
        {{"rhd", "/data/My", "Survey/p.rhd"}, 1, L"/data/My Survey/p.rhd", 0},
        {{"rhd", "-x.rhd"}, 1, L"x.rhd", 0},                       // only a leading "-" goes
        {{"rhd", "a", "version"}, 1, L"a version", 0},
        {{"rhd", "/d/Grüße.rhd"}, 1, L"/d/Gr\u00fc\u00dfe.rhd", 0}, // UTF-8 stays
        {{"rhd", "/d/caf\xe9.rhd"}, 1, L"/d/caf\xdce9.rhd", 0},      // a byte that is not UTF-8 too
        {{"version"}, 0, L"", 1},
        {{"-version"}, 0, L"", 1},
        {{"version", "rhd", "p.rhd"}, 1, L"p.rhd", 1},
        {{"/version"}, 0, L"", 0},
        {{"Version"}, 0, L"", 0},
        {{"x.rhd"}, 0, L"", 0},
        {{}, 0, L"", 0},
    };
    CQuarvelApp app;
    for (const Case& c : cases) {
        app.SetCommandLine(c.args);
        CCustomCommandLineInfo info;
        app.ParseCommandLine(info);
        const std::string label = c.args.empty() ? std::string("(none)") : c.args.front() + "...";
        EXPECT_EQ(info.m_bRhd, c.rhd) << label;
        EXPECT_EQ(info.m_strRhdPath, c.path) << label;
        EXPECT_EQ(info.m_bVersion, c.version) << label;
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew) << label;
    }
    // A path's bytes reach the file system as they were given, UTF-8 or not.
    for (const std::string path : {"/d/caf\xe9.rhd", "/d/Grüße.rhd", "/d/\xff\xfe/x.rhd"}) {
        app.SetCommandLine({"rhd", path});
        CCustomCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(NativePath(info.m_strRhdPath), path);
    }
}
