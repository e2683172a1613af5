// Whether the desktop has an application for a file: the folders searched, the answer of xdg-mime
// read, and the desktop entries looked for.

#include "core/app/desktop_open.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace velmora;
using Strings = std::vector<std::string>;

TEST(DesktopOpen, FoldersFollowTheDesktopsVariablesAndDefaults)
{
    EXPECT_EQ(
        ApplicationFolders(nullptr, nullptr, "/home/u"),
        (Strings { "/home/u/.local/share/applications", "/usr/local/share/applications", "/usr/share/applications" }));
    EXPECT_EQ(ApplicationFolders("/d/home", "/a::relative:/b/", "/home/u"),
              (Strings { "/d/home/applications", "/a/applications", "/b/applications" }));
    EXPECT_EQ(ApplicationFolders("", "", nullptr),
              (Strings { "/usr/local/share/applications", "/usr/share/applications" }));
}

TEST(DesktopOpen, AnswerOfXdgMimeIsReadAsEntryIds)
{
    EXPECT_EQ(DefaultEntryIds(""), Strings {});
    EXPECT_EQ(DefaultEntryIds("\n"), Strings {});
    EXPECT_EQ(DefaultEntryIds("firefox-esr.desktop\n"), Strings { "firefox-esr.desktop" });
    EXPECT_EQ(DefaultEntryIds(" a.desktop; b.desktop;\nc.desktop\n"), (Strings { "a.desktop", "b.desktop" }));
}

TEST(DesktopOpen, AnEntryCountsOnlyWhenItsFileExists)
{
    const auto root = std::filesystem::temp_directory_path() / "velmora-desktop-open-test";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "a");
    std::filesystem::create_directories(root / "b/kde4");
    std::ofstream(root / "b/browser.desktop") << "[Desktop Entry]\n";
    std::ofstream(root / "b/kde4/okular.desktop") << "[Desktop Entry]\n";
    std::filesystem::create_directories(root / "b/dir.desktop");
    const Strings folders { (root / "a").string(), (root / "b").string() };

    EXPECT_TRUE(AnyDesktopEntryExists({ "browser.desktop" }, folders));
    EXPECT_TRUE(AnyDesktopEntryExists({ "gone.desktop", "browser.desktop" }, folders));
    EXPECT_TRUE(AnyDesktopEntryExists({ "kde4-okular.desktop" }, folders)); // kept in a subfolder
    EXPECT_FALSE(AnyDesktopEntryExists({}, folders)); // xdg-mime named nothing
    EXPECT_FALSE(AnyDesktopEntryExists({ "gone.desktop" }, folders)); // a stale default
    EXPECT_FALSE(AnyDesktopEntryExists({ "dir.desktop" }, folders)); // not a file
    EXPECT_FALSE(AnyDesktopEntryExists({ "../b/browser.desktop" }, { (root / "a").string() }));
    std::filesystem::remove_all(root);
}
