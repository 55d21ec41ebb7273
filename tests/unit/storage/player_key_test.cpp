#include "storage/player_key.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

mode_t ModeOf(const std::filesystem::path& file) {
  struct stat st {};
  EXPECT_EQ(::lstat(file.c_str(), &st), 0);
  return st.st_mode & 0777;
}

TEST(PlayerKey, IsMadeOnceKeptPrivateAndReadBackTheSame) {
  TempFolder folder;
  const PlayerKeyResult first = LoadPlayerKey(folder.path());
  ASSERT_TRUE(ParsePlayerKey(first.Key));
  EXPECT_TRUE(first.Note.empty());
  const auto file = folder / kPlayerKeyFileName;
  EXPECT_EQ(ModeOf(file), 0600u);
  EXPECT_EQ(ReadBytes(file), first.Key + "\n");
  const PlayerKeyResult again = LoadPlayerKey(folder.path());
  EXPECT_EQ(again.Key, first.Key);
  EXPECT_TRUE(again.Note.empty());
  // Another player's key is another: 256 random bits, not a fixed seed.
  TempFolder other;
  EXPECT_NE(LoadPlayerKey(other.path()).Key, first.Key);
}

TEST(PlayerKey, ADamagedFileIsReplacedWithANoteNeverTakenAsAKey) {
  const std::string good(64, 'a');
  EXPECT_EQ(ParsePlayerKey(good + "\r\n"), good);
  for (const std::string& bad : {std::string(63, 'a'), std::string(65, 'a'), std::string(64, 'A'),
                                 std::string(63, 'a') + "g", std::string(), good + "\n\n",
                                 std::string(32, '\0') + std::string(32, 'a')}) {
    EXPECT_FALSE(ParsePlayerKey(bad)) << bad;
    TempFolder folder;
    std::ofstream(folder / kPlayerKeyFileName, std::ios::binary) << bad;
    const PlayerKeyResult result = LoadPlayerKey(folder.path());
    ASSERT_TRUE(ParsePlayerKey(result.Key));
    EXPECT_NE(result.Note.find("damaged"), std::string::npos);
    EXPECT_EQ(ReadBytes(folder / kPlayerKeyFileName), result.Key + "\n");
    EXPECT_EQ(ModeOf(folder / kPlayerKeyFileName), 0600u);
  }
}

TEST(PlayerKey, AFolderOrLinkInItsPlaceNeitherCrashesNorLeaksTheKey) {
  TempFolder folder;
  std::filesystem::create_directory(folder / kPlayerKeyFileName);
  const PlayerKeyResult blocked = LoadPlayerKey(folder.path());
  EXPECT_TRUE(ParsePlayerKey(blocked.Key));
  EXPECT_NE(blocked.Note.find("session"), std::string::npos);

  // A link planted to somewhere readable is replaced, not written through.
  TempFolder planted;
  const auto elsewhere = planted / "elsewhere";
  std::ofstream(elsewhere) << "x";
  std::filesystem::create_symlink(elsewhere, planted / kPlayerKeyFileName);
  const PlayerKeyResult result = LoadPlayerKey(planted.path());
  EXPECT_EQ(ReadBytes(elsewhere), "x");
  EXPECT_FALSE(std::filesystem::is_symlink(planted / kPlayerKeyFileName));
  EXPECT_EQ(ReadBytes(planted / kPlayerKeyFileName), result.Key + "\n");
}

}  // namespace
}  // namespace tarvelis
