#pragma once
// A program started as from the command line, in a per-test folder, with its message boxes
// and dialogs scripted; the engine's globals start from their defaults in every test.

#include "GuiTestSupport.h"
#include "ProjectFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CQuarvelApp;
class CQuarvelDoc;
class CQuarvelView;

// Replaces a key's value in a key:value file (not its first line), and reads one.
void SetFileValue(const std::string& path, const std::string& key, const std::string& value);
std::string GetFileValue(const std::string& path, const std::string& key);

class AppFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // InitInstance with these parameters.
    bool Start(const std::vector<std::string>& args);
    CMainFrame* Frame() const;
    CQuarvelDoc* Doc() const;
    CQuarvelView* View() const;

    CTempDir m_dir;
    CScriptedMessageBoxes m_boxes;
    std::unique_ptr<CQuarvelApp> m_pApp;
};

// A document outside the program, with the program's resources and the engine's globals
// reset.
class DocumentFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    CTempDir m_dir;
    CScriptedMessageBoxes m_boxes;
};
