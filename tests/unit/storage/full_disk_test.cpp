// A disk that fills up and folders that cannot be written: the history keeps
// every whole record, the one-time copy to the user's folder is whole or
// absent, and a game that can write nowhere still reads and plays.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "history_records.h"
#include "storage/data_folder.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/file_size_limit.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;
using testing::FileSizeLimit;
using testing::MakeReadOnly;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Records(int count) {
  std::string out;
  for (int n = 0; n < count; ++n) {
    out += testing::Record("2026010" + std::to_string(10000 + n), {"A", "B", "C", "D"},
                           {5, n % 5, 0, 0}, true);
  }
  return out;
}

TEST(HistoryAppend, AFullDiskLeavesTheFileExactlyAsItWas) {
  TempFolder folder;
  const std::string before = Records(3);
  WriteBytes(folder / "TARVE32.HIS", before);
  GameState s;
  ApplyDefaults(s);
  {
    FileSizeLimit full(before.size() + 30);  // room for half a record
    EXPECT_FALSE(AppendHistory(s, folder.path(), DateTime{2026, 12, 6, 12, 0}));
  }
  EXPECT_EQ(ReadBytes(folder / "TARVE32.HIS"), before);
  EXPECT_TRUE(AppendHistory(s, folder.path(), DateTime{2026, 12, 6, 12, 0}));
  EXPECT_EQ(ReadHistory(folder.path()).size(), 4u);
}

// The fallback copy is whole or absent: a history cut short by a small disk
// is not left behind to be taken as the player's own, and the next start
// copies it again, once.
TEST(FallbackCopy, IsWholeOrAbsentAndIsTriedAgain) {
  TempFolder root;
  const fs::path program = root / "program";
  const fs::path fallback = root / "home" / "tarvelis";
  MakeReadOnly(program);
  const std::string history = Records(1000);                               // 63 KB
  const std::string settings = StateFileText(sample::RichState(30, 300));  // 20 KB
  WriteBytes(program / "TARVE32.HIS", history);
  WriteBytes(program / "TARVE32.INI", settings);
  {
    FileSizeLimit small(12 * 1024);
    const DataFolderChoice where = ChooseDataFolder(program, fallback);
    EXPECT_EQ(where.Folder, fallback);
    EXPECT_TRUE(where.CanSave);
    EXPECT_EQ(where.SettingsSource, program / "TARVE32.INI") << "its copy did not complete";
  }
  EXPECT_FALSE(fs::exists(fallback / "TARVE32.HIS"));
  EXPECT_FALSE(fs::exists(fallback / "TARVE32.INI"));
  EXPECT_EQ(std::distance(fs::directory_iterator(fallback), {}), 0) << "no temporary file left";

  const DataFolderChoice where = ChooseDataFolder(program, fallback);
  EXPECT_EQ(where.SettingsSource, fallback / "TARVE32.INI");
  EXPECT_EQ(ReadBytes(fallback / "TARVE32.HIS"), history);
  EXPECT_EQ(ReadBytes(fallback / "TARVE32.INI"), settings);
  // The player's own copies are never replaced by the program folder's, not
  // even a history kept after the settings file was lost.
  WriteBytes(program / "TARVE32.HIS", "theirs");
  WriteBytes(program / "TARVE32.INI", "ini 2");
  fs::remove(fallback / "TARVE32.INI");
  ChooseDataFolder(program, fallback);
  EXPECT_EQ(ReadBytes(fallback / "TARVE32.HIS"), history);
  EXPECT_EQ(ReadBytes(fallback / "TARVE32.INI"), "ini 2");
  WriteBytes(program / "TARVE32.INI", "ini 3");
  ChooseDataFolder(program, fallback);
  EXPECT_EQ(ReadBytes(fallback / "TARVE32.INI"), "ini 2");
}

TEST(FallbackFolder, SomebodyElsesOrASharedOneIsNotUsed) {
  TempFolder root;
  const fs::path program = root / "program";
  MakeReadOnly(program);
  fs::create_directories(root / "shared");
  fs::permissions(root / "shared", fs::perms::all);
  fs::create_directories(root / "real");
  fs::create_directory_symlink(root / "real", root / "link");
  for (const char* name : {"shared", "link"}) {
    const DataFolderChoice where = ChooseDataFolder(program, root / name);
    EXPECT_FALSE(where.CanSave) << name;
    EXPECT_EQ(where.Folder, program) << name;
  }
  const DataFolderChoice fresh = ChooseDataFolder(program, root / "new" / "tarvelis");
  EXPECT_TRUE(fresh.CanSave);
  EXPECT_EQ(fs::status(root / "new" / "tarvelis").permissions() & fs::perms::all,
            fs::perms::owner_all);
}

// Nowhere to write: the program folder's match is still read and played, and
// the user is told that changes will not last.
TEST(NowhereToWrite, TheProgramFoldersFilesAreReadAndTheUserIsTold) {
  TempFolder root;
  const fs::path program = root / "program";
  MakeReadOnly(program);
  WriteBytes(root / "a-file", "x");
  const GameState saved = sample::RichState(30, 5);
  WriteBytes(program / "TARVE32.INI", StateFileText(saved));

  const DataFolderChoice where = ChooseDataFolder(program, root / "a-file" / "tarvelis");
  EXPECT_FALSE(where.CanSave);
  GameState s;
  const LoadReport report = LoadSettings(s, where);
  EXPECT_EQ(report.ErrorNumber, 0);
  EXPECT_EQ(report.Message, kCannotSaveMessage);
  EXPECT_TRUE(report.SettingsNotSaved);
  EXPECT_TRUE(s.HandInProgress);
  EXPECT_EQ(s.SeatName[1], saved.SeatName[1]);
}

}  // namespace
}  // namespace tarvelis
