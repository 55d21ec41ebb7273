// The expert's seats and tutor, kept in a file of their own beside the
// settings file: a settings file reads and writes as it always has, and the
// choice comes back after a save and a load.
#include "storage/expert_choice.h"

#include <gtest/gtest.h>

#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ExpertChoice, ComesBackAfterSaveAndLoadAndLeavesTheSettingsFileAlone) {
  TempFolder folder;
  GameState s = sample::RichState(20, 3);
  // Nothing chosen: no file of its own, the settings file as before.
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_FALSE(std::filesystem::exists(folder / kExpertFileName));
  const std::string plain = ReadBytes(folder / kSettingsFileName);
  s.SeatExpert[1] = s.SeatExpert[3] = true;
  s.TutorExpert = true;
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), plain);
  GameState back;
  ASSERT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
  EXPECT_EQ(back.SeatExpert, s.SeatExpert);
  EXPECT_TRUE(back.TutorExpert);
  EXPECT_EQ(FirstCarriedDifference(back, s), "");
  // Turned off again, the file says so rather than lingering.
  back.SeatExpert = {};
  back.TutorExpert = false;
  ASSERT_TRUE(SaveSettings(back, folder.path()));
  GameState again;
  ASSERT_EQ(LoadSettings(again, folder.path()).ErrorNumber, 0);
  EXPECT_EQ(again.SeatExpert, PerSeat<bool>{});
  EXPECT_FALSE(again.TutorExpert);
}

TEST(ExpertChoice, ADamagedFileChoosesNothingItCannotRead) {
  GameState s;
  ReadExpertChoiceText(s, "Experto=1,0,1\r\nTutor=1\r\n");
  EXPECT_EQ(s.SeatExpert, PerSeat<bool>{});
  EXPECT_TRUE(s.TutorExpert);
  ReadExpertChoiceText(s, "basura\nExperto=0,1,0,1\nTutor=2");
  EXPECT_EQ(s.SeatExpert, (PerSeat<bool>{false, false, true, false, true}));
  EXPECT_FALSE(s.TutorExpert);
  TempFolder folder;
  WriteBytes(folder / kExpertFileName, std::string(10000, '\xff'));
  LoadExpertChoice(s, folder.path());
  EXPECT_EQ(s.SeatExpert, PerSeat<bool>{});
}

}  // namespace
}  // namespace tarvelis
