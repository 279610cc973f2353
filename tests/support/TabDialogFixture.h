#pragma once
// The resources of the tab control tests while a test runs: a dialog with a tab control and
// OK, and an empty page dialog for its tabs.

#include "Resources.h"

#include <gtest/gtest.h>

constexpr UINT IDD_TABS = 520;
constexpr UINT IDD_TAB_PAGE = 521;
constexpr int IDC_TABS = 1001;

class TabDialogFixture : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};
