#include "storage/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>
#include <optional>

#include "support/temp_folder.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteBytes;

TEST(DataFolder, NothingToCopyOrNoProgramFolderAtAllIsNoError) {
  TempFolder root;
  WriteBytes(root / "a-file", "x");
  EXPECT_EQ(PrepareDataFolder(root / "a-file", root / "fb1"), root / "fb1");
  EXPECT_TRUE(fs::is_directory(root / "fb1"));
  EXPECT_FALSE(fs::exists(root / "fb1" / "TARVE32.INI"));
  EXPECT_EQ(PrepareDataFolder("/proc/no-such-folder", root / "fb2"), root / "fb2");
}

TEST(DataFolder, TheFallbackFollowsTheUsersDataFolder) {
  std::optional<std::string> saved[2];
  const char* names[2] = {"XDG_DATA_HOME", "HOME"};
  for (int i = 0; i < 2; ++i) {
    if (const char* v = std::getenv(names[i])) saved[i] = v;
  }
  setenv("XDG_DATA_HOME", "/data/ana", 1);
  setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(DefaultFallbackFolder(), fs::path("/data/ana/tarvelis/"));
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(DefaultFallbackFolder(), fs::path("/home/ana/.local/share/tarvelis/"));
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultFallbackFolder(), fs::path("/home/ana/.local/share/tarvelis/"));
  unsetenv("HOME");
  EXPECT_EQ(DefaultFallbackFolder(), fs::path("/tmp/tarvelis-" + std::to_string(getuid()) + "/"));
  for (int i = 0; i < 2; ++i) {
    if (saved[i]) setenv(names[i], saved[i]->c_str(), 1);
  }
}

// One copy per data folder: a second lock is refused while the first lives.
// (A copy killed holding it frees it: the end-to-end kill test starts again.)
TEST(RemoveStaleTemporaries, TakesOnlyUnfinishedWrites) {
  TempFolder folder;
  for (const char* name :
       {"TARVE32.INI.tmp.a1b2c3d4e5", "mi juego.man.tmp.0123456789", "TARVE32.INI", "notas.tmp.txt",
        "TARVE32.INI.tmp.ABCDEFGHIJ", ".tmp.abcdefghij"}) {
    WriteBytes(folder / name, "x");
  }
  RemoveStaleTemporaries(folder.path());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 4);
  EXPECT_FALSE(fs::exists(folder / "TARVE32.INI.tmp.a1b2c3d4e5"));
}

}  // namespace
}  // namespace tarvelis
