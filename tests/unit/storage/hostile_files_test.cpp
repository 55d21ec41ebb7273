// Files a careful user's machine can hold where the game expects its own:
// damaged matches, FIFOs and devices, links planted beside the data, names
// with line breaks, files far too long. None may crash or block the game,
// lose what the user had, or write outside the data folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/headless_play.h"
#include "model/consistency.h"
#include "model/names.h"
#include "state_text.h"
#include "storage/history_file.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Sample(const std::string& name) {
  return ReadBytes(fs::path(TARVELIS_TEST_DATA) / "damaged" / name);
}

// Each of these reads completely, but its hand cannot be played on: the table
// would copy from outside its pictures, size a picture from the file, or show
// the hand with nobody to move. The checker names each fault.
TEST(DamagedMatch, IsDroppedSaidAndKeptOnceWhileTheSettingsStay) {
  const std::pair<const char*, const char*> samples[] = {
      {"cutout-oob-read-imagex-neg40.ini", "a picture outside the tile strip"},
      {"huge-tile-4GB-alloc.ini", "a tile size its picture does not have"},
      {"stuck-match-doubleflag.ini", "double flag wrong"},
      {"stuck-match-outofturn.ini", "out of turn"},
      {"match-dropped-silently.ini", ""},
  };
  for (const auto& [name, words] : samples) {
    GameState read;
    const ReadOutcome outcome = testing::ReadText(read, Sample(name));
    EXPECT_NE(outcome.Fault.find(words), std::string::npos) << name << ": " << outcome.Fault;
    EXPECT_TRUE(outcome.MatchDropped) << name;
  }
  TempFolder folder;
  const std::string bytes = Sample("stuck-match-outofturn.ini");
  WriteBytes(folder / "TARVE32.INI", bytes);
  GameState s;
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_EQ(report.ErrorNumber, 0);
  EXPECT_TRUE(report.MatchDropped);
  EXPECT_EQ(report.Message.rfind(kMatchDroppedMessage, 0), 0u) << report.Message;
  EXPECT_NE(report.Message.find((folder / "TARVE32.INI.damaged").string()), std::string::npos);
  EXPECT_FALSE(s.MatchInProgress || s.HandInProgress);
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI.damaged"), bytes);
}

TEST(DamagedMatch, AChainLaidOnAnotherScreenIsLaidAgainForThisOne) {
  GameState big;
  ApplyDefaults(big);
  big.Table = ComputeTableGeometry(1600, 1200);
  PlayHeadlessTo(big, 24, 5);
  ASSERT_TRUE(big.HandInProgress);
  GameState s;
  s.Table = ComputeTableGeometry(640, 480);
  const ReadOutcome outcome = testing::ReadText(s, StateFileText(big));
  EXPECT_FALSE(outcome.MatchDropped) << outcome.Fault;
  EXPECT_TRUE(s.HandInProgress);
  EXPECT_TRUE(CheckState(s).empty());
  EXPECT_EQ(s.MoveRecord[1][kFTileLeft], s.Table.ChainOriginX + 1);
}

TEST(Names, AreBoundedAndLoseTheirControlCharactersOnTheWayIn) {
  for (const char* name : {"history-record-crlf-in-name.ini", "history-record-nul-in-name.ini"}) {
    GameState s;
    testing::ReadText(s, Sample(name));
    const std::string record = HistoryRecord(s, DateTime{2026, 12, 6, 12, 0});
    EXPECT_EQ(record.size(), static_cast<std::size_t>(kHistoryRecordSize)) << name;
    EXPECT_EQ(record.find_first_of(std::string("\r\n\0", 3)), record.size() - 2) << name;
    for (int seat = 1; seat <= kSeats; ++seat) {
      for (char c : s.SeatName[seat]) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << name;
    }
  }
  // A name far longer than anybody can type is cut to the longest one the
  // settings window takes, in characters, not bytes.
  GameState s;
  ApplyDefaults(s);
  s.SeatName[2] = std::string(5000, 'x');
  s.SeatName[3] = "ñandú ñandú ñandú ñandú ñandú";
  testing::ReadText(s, StateFileText(s));
  EXPECT_EQ(s.SeatName[2], "X" + std::string(kMaxNameLength - 1, 'x'));
  EXPECT_EQ(s.SeatName[3], "Ñandú Ñandú Ñandú Ña");
  // A control character typed into a name never reaches the file.
  s.SeatName[1] = "Ana\r\nLuz\t\x01";
  const std::string text = StateFileText(s);
  EXPECT_EQ(text.substr(0, text.find(',')), "\"AnaLuz\"");
}

TEST(HugeFile, IsReadNoFurtherThanAStateFileCanReach) {
  TempFolder folder;
  WriteBytes(folder / "TARVE32.INI", "\"" + std::string(8u << 20, 'a'));
  GameState s;
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_NE(report.ErrorNumber, 0);
  EXPECT_LE(s.SeatName[1].size(), static_cast<std::size_t>(kMaxNameLength));
}

// Opening a FIFO for reading waits for a writer; a device may never end; a
// folder cannot be read at all. Each is refused at once and left alone.
TEST(NotAFile, IsAnErrorAtOnceAndIsLeftAlone) {
  TempFolder folder;
  const fs::path ini = folder / "TARVE32.INI";
  const std::function<void()> makers[] = {
      [&] { ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0); },
      [&] { fs::create_symlink("/dev/zero", ini); },
      [&] { fs::create_directory(ini); },
  };
  for (const auto& make : makers) {
    fs::remove(ini);
    make();
    const fs::file_type type = fs::symlink_status(ini).type();
    GameState s = sample::RichState(5, 1);
    const LoadReport report = LoadSettings(s, folder.path());
    EXPECT_EQ(report.ErrorNumber, 75);
    EXPECT_EQ(report.Message, "CID ERROR 75");
    EXPECT_FALSE(s.MatchInProgress);
    EXPECT_EQ(fs::symlink_status(ini).type(), type);
  }
  EXPECT_TRUE(ReadHistory("/dev").empty()) << "no TARVE32.HIS there: nothing";
}

// Somebody else's link where the temporary file goes must not lead the save
// into the file it points at.
TEST(Links, APlantedTemporaryLinkIsNeverWrittenThrough) {
  TempFolder folder;
  WriteBytes(folder / "victim", "precious");
  fs::create_symlink(folder / "victim", folder / "TARVE32.INI.tmp");
  GameState s;
  ApplyDefaults(s);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_EQ(ReadBytes(folder / "victim"), "precious");
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI"), StateFileText(s));
}

// A settings file the user keeps elsewhere through a link of their own stays
// there; a link made by another user is replaced, never followed.
TEST(Links, TheUsersOwnLinkIsWrittenThroughAndAStrangersIsNot) {
  TempFolder folder;
  fs::create_directories(folder / "elsewhere");
  WriteBytes(folder / "elsewhere" / "mine.ini", "old");
  fs::create_symlink(folder / "elsewhere" / "mine.ini", folder / "TARVE32.INI");
  GameState s;
  ApplyDefaults(s);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_TRUE(fs::is_symlink(folder / "TARVE32.INI"));
  EXPECT_EQ(ReadBytes(folder / "elsewhere" / "mine.ini"), StateFileText(s));

  if (geteuid() != 0) GTEST_SKIP() << "only root can give a link to another user";
  fs::remove(folder / "TARVE32.INI");
  WriteBytes(folder / "victim", "precious");
  fs::create_symlink(folder / "victim", folder / "TARVE32.INI");
  ASSERT_EQ(lchown((folder / "TARVE32.INI").c_str(), 4242, 4242), 0);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_EQ(ReadBytes(folder / "victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(folder / "TARVE32.INI"));
}

}  // namespace
}  // namespace tarvelis
