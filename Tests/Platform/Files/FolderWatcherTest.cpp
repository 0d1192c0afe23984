#include "Platform/Files/FolderWatcher.h"

#include "Support/ArchiveFixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

void Save(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

using FolderWatcherTest = ArchiveFixture; // a fresh folder of its own

} // namespace

TEST_F(FolderWatcherTest, SavedFilesAtAnyDepthAreToldOnceInTheOrderSaved)
{
    fs::create_directories("root/Data/anim");
    Save("root/Data/old.txt", "before watching");
    auto watcher = WatchFolder("root");
    EXPECT_TRUE(watcher->TakeChanges().empty());

    Save("root/Data/anim/cam.translateX", "1");
    Save("root/Data/sync_Fade.track", "1");
    Save("root/Data/anim/cam.translateX", "2");
    // Written aside and moved in, as editors and the build's copy do.
    Save("staged.tmp", "x");
    fs::rename("staged.tmp", "root/Data/moved.xml");
    // A folder made after watching began, with a file written before its watch could exist.
    fs::create_directories("root/OShaders/deep");
    Save("root/OShaders/deep/a.fxo", "fx");
    Save("root/OShaders/b.fxo", "fx");

    const std::vector<std::string> changes = watcher->TakeChanges();
    EXPECT_EQ(changes, (std::vector<std::string>{"Data/anim/cam.translateX", "Data/sync_Fade.track", "Data/moved.xml",
                                                 "OShaders/deep/a.fxo", "OShaders/b.fxo"}));
    EXPECT_TRUE(watcher->TakeChanges().empty());

    Save("root/OShaders/deep/a.fxo", "again");
    EXPECT_EQ(watcher->TakeChanges(), std::vector<std::string>{"OShaders/deep/a.fxo"}) << "the new folder stays watched";
}

TEST_F(FolderWatcherTest, AMissingFolderIsRefused)
{
    EXPECT_THROW(WatchFolder("no-such-folder"), FolderWatchError);
}
