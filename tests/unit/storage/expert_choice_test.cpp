// The expert's seats and tutor, kept beside the settings file: that file
// reads and writes as before, and the choice comes back after a save.
#include "storage/expert_choice.h"

#include <gtest/gtest.h>

#include "storage/settings_file.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

TEST(ExpertChoice, ComesBackAfterSaveAndLoadAndLeavesTheSettingsFileAlone) {
  TempFolder folder;
  GameState s = sample::RichState(20, 3);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_FALSE(std::filesystem::exists(folder / kExpertFileName)) << "nothing chosen, no file";
  const std::string plain = ReadBytes(folder / kSettingsFileName);
  s.SeatExpert[1] = s.SeatExpert[3] = s.TutorExpert = true;
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), plain);
  GameState back;
  ASSERT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
  EXPECT_EQ(static_cast<ExpertSeats&>(back), static_cast<ExpertSeats&>(s));
  static_cast<ExpertSeats&>(back) = {};  // turned off, the file says so rather than lingering
  ASSERT_TRUE(SaveSettings(back, folder.path()));
  ASSERT_EQ(LoadSettings(s, folder.path()).ErrorNumber, 0);
  EXPECT_EQ(static_cast<ExpertSeats&>(s), ExpertSeats{});
}

TEST(ExpertChoice, ALineItCannotReadChoosesNothing) {
  GameState s;
  ReadExpertChoiceText(s, "basura\nExperto=1,0,1\r\nTutor=1\r\n");
  EXPECT_EQ(static_cast<ExpertSeats&>(s), (ExpertSeats{{}, true}));
}

}  // namespace
}  // namespace tarvelis
