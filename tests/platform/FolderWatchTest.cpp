// The folder watch on a real folder: inotify queues an event as the write or rename returns, so each change is
// seen at the next call without waiting.
#include "FolderWatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "../data/DataTestSupport.h"

namespace {

using datatest::WriteFile;

TEST(FolderWatchTest, SeesSkinFilesWrittenRenamedOrRemovedAnywhereBelowAndNothingElse) {
  datatest::TTempDir dir;
  const std::filesystem::path root = dir.Path();
  WriteFile(root / "xml/stagedef.xml", "<stagedef/>");
  TFolderWatch watch(root.string());
  EXPECT_FALSE(watch.Changed());

  WriteFile(root / "xml/stagedef.xml", "<stagedef><stage/></stagedef>");
  EXPECT_TRUE(watch.Changed());
  EXPECT_FALSE(watch.Changed()) << "each change is told once";

  // Editors' own files are not the skin's.
  WriteFile(root / "xml/.stagedef.xml.swp", "swap");
  WriteFile(root / "xml/stagedef.xml~", "backup");
  WriteFile(root / "notes.txt", "notes");
  EXPECT_FALSE(watch.Changed());

  // Saved as a new file renamed over the old one; the letter case of the extension does not matter.
  WriteFile(root / "xml/.goutputstream-X1", "<stagedef/>");
  EXPECT_FALSE(watch.Changed());
  std::filesystem::rename(root / "xml/.goutputstream-X1", root / "xml/stagedef.xml");
  EXPECT_TRUE(watch.Changed());
  WriteFile(root / "xml/GRAPHICDEF.XML", "<graphicdef/>");
  EXPECT_TRUE(watch.Changed());

  // A folder made after the watch began is watched too, as is one moved in whole.
  std::filesystem::create_directories(root / "graphic");
  EXPECT_TRUE(watch.Changed());
  WriteFile(root / "graphic/ship.bmp", "BM");
  EXPECT_TRUE(watch.Changed());
  datatest::TTempDir outside;
  WriteFile(outside.Path() / "more/deep/a.bmp", "BM");
  std::filesystem::rename(outside.Path() / "more", root / "graphic/more");
  EXPECT_TRUE(watch.Changed());
  WriteFile(root / "graphic/more/deep/b.bmp", "BM");
  EXPECT_TRUE(watch.Changed());

  std::filesystem::remove(root / "graphic/ship.bmp");
  EXPECT_TRUE(watch.Changed());
  EXPECT_FALSE(watch.Changed());
}

TEST(FolderWatchTest, ASkinFolderRemovedAndMadeAgainIsWatchedAfresh) {
  datatest::TTempDir dir;
  const std::filesystem::path root = dir.Path() / "skin";
  WriteFile(root / "xml/stagedef.xml", "<stagedef/>");
  TFolderWatch watch(root.string());
  std::filesystem::remove_all(root);
  EXPECT_TRUE(watch.Changed());
  WriteFile(root / "xml/stagedef.xml", "<stagedef/>");
  EXPECT_TRUE(watch.Changed());
  WriteFile(root / "xml/stagedef.xml", "<stagedef><stage/></stagedef>");
  EXPECT_TRUE(watch.Changed()) << "the folder made again is watched";
}

TEST(FolderWatchTest, AFolderThatIsNotThereCannotBeWatched) {
  datatest::TTempDir dir;
  EXPECT_THROW(TFolderWatch((dir.Path() / "none").string()), std::runtime_error);
}

}  // namespace
