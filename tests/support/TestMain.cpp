// Test entry point: each test process gets its own per-user folder (configuration, palette,
// message log), never the user's real one, and removes it at the end.

#include "FileIo.h"
#include "MessageLog.h"
#include "UserFolder.h"
#include "Values.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    std::string appData = (std::filesystem::temp_directory_path() / "quarvel-appdata-XXXXXX").string();
    if (!mkdtemp(appData.data()))
        return 1;
    setenv("APPDATA", appData.c_str(), 1);
    const std::wstring folder = GetUserConfigDir();
    std::error_code ec;
    std::filesystem::create_directories(ToAnsi(folder), ec);
    g_messageLog.SetPath(JoinPath(folder, L"message.log"));
    g_messageLog.Reset();
    g_messageLog.Enable();
    g_messageLog.Open();
    const int result = RUN_ALL_TESTS();
    g_messageLog.SetPath(std::wstring());
    std::filesystem::remove_all(appData, ec);
    return result;
}
