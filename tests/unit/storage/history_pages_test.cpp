#include "storage/history_pages.h"

#include <gtest/gtest.h>

#include "history_records.h"

namespace tarvelis {
namespace {

using testing::Matches;
using testing::Record;

std::vector<PageLine> At(const std::vector<PageLine>& lines, int y) {
  std::vector<PageLine> out;
  for (const PageLine& l : lines) {
    if (l.Y == y) out.push_back(l);
  }
  return out;
}

// The texts of the line at `y`, joined by "|".
std::string Texts(const std::vector<PageLine>& lines, int y) {
  std::string out;
  for (const PageLine& l : At(lines, y)) out += (out.empty() ? "" : "|") + l.Text;
  return out;
}

TEST(MatchesPage, TwoLinesPerMatchInTheirColumns) {
  const auto matches = NewestFirst(Matches({
      Record("202612060905", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true),
      Record("202612071830", {"Eva", "Fran", "Gil", "Hugo"}, {12, 10, 8, 0}, false),
  }));
  const std::vector<PageLine> lines = MatchesPage(matches, 0);
  const int y = kMatchRowsTop, h = kFolderLineHeight, y2 = kMatchRowsTop + kMatchRowsStep;
  EXPECT_EQ(Texts(lines, 6), "Fecha / Hora|Ganadores / Perdedores|Puntos");
  EXPECT_EQ(
      At(lines, y + h),
      (std::vector<PageLine>{{35, y + h, TextAlign::Left, LineStyle::Entry, "18:30"},
                             {90, y + h, TextAlign::Left, LineStyle::Entry, "Fran, Gil y Hugo"},
                             {325, y + h, TextAlign::Centre, LineStyle::Entry, "10-8-0"}}));
  EXPECT_EQ(Texts(lines, y), "07-12-2026|Eva|12") << "the newest, individual, first";
  EXPECT_EQ(Texts(lines, y2), "06-12-2026|Ana y Bea|5");
  EXPECT_EQ(Texts(lines, y2 + h), "09:05|Carlos y Dani|3");
  EXPECT_EQ(At(lines, y2)[0].X, 22);
}

TEST(MatchesPage, EightMatchesAPage) {
  std::vector<std::string> records;
  for (int i = 0; i < 19; ++i) {
    records.push_back(
        Record("2026010100" + std::to_string(10 + i), {"A", "B", "C", "D"}, {i, 0, 0, 0}, true));
  }
  const auto matches = NewestFirst(Matches(records));
  struct Case {
    int first, shown, newestPoints;
  };
  for (const Case& c : {Case{0, 8, 18}, Case{8, 8, 10}, Case{16, 3, 2}, Case{24, 0, -1}}) {
    const auto lines = MatchesPage(matches, c.first);
    EXPECT_EQ(lines.size(), 3u + 6u * c.shown) << c.first;
    if (c.shown > 0) {
      EXPECT_EQ(At(lines, kMatchRowsTop)[2].Text, std::to_string(c.newestPoints));
    }
  }
}

TEST(ListaTotales, TitleHeaderAndEntriesOfTheSection) {
  const auto totals = ComputeTotals(Matches({
      Record("202601010900", {"Ana", "Bea", "Carlos", "Dani"}, {5, 3, 0, 0}, true),
  }));
  ASSERT_EQ(totals.size(), 32u);
  const struct {
    int first;
    const char* title;
    std::vector<std::string> header, texts;
  } cases[] = {
      {0, "Partidas ganadas por jugador", {"Jugador", "Partidas"}, {"Bea", "1", "Ana", "1"}},
      {8,
       "Puntos obtenidos por jugador",
       {"Jugador", "Puntos"},
       {"Bea", "5", "Ana", "5", "Dani", "3", "Carlos", "3"}},
      {16, "Partidas ganadas por pareja", {"Pareja", "Partidas"}, {"Ana y Bea", "1"}},
      {24,
       "Puntos obtenidos por pareja",
       {"Pareja", "Puntos"},
       {"Ana y Bea", "5", "Carlos y Dani", "3"}},
  };
  for (const auto& c : cases) {
    const auto lines = ListaTotales(totals, c.first);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].Text, c.title);
    EXPECT_EQ(lines[0].Align, TextAlign::Centre);
    EXPECT_EQ((std::vector<std::string>{lines[1].Text, lines[2].Text}), c.header);
    std::vector<std::string> texts;
    for (size_t i = 3; i < lines.size(); ++i) texts.push_back(lines[i].Text);
    EXPECT_EQ(texts, c.texts) << c.title;
  }
  EXPECT_TRUE(ListaTotales(totals, 32).empty());
  EXPECT_TRUE(ListaTotales({}, 0).empty());
}

TEST(PageCorners, BottomCornersTurnOnlyToPagesThatExist) {
  const int w = kFolderWidth, h = kFolderHeight;
  struct Case {
    int x, y;
    Corner corner;
  };
  for (const Case& c : {Case{25, h - 16, Corner::Previous}, Case{26, h - 1, Corner::None},
                        Case{10, h - 17, Corner::None}, Case{w - 25, h - 16, Corner::Next},
                        Case{w - 26, h - 1, Corner::None}}) {
    EXPECT_EQ(CornerAt(c.x, c.y), c.corner) << c.x << "," << c.y;
  }
  struct Use {
    Corner corner;
    int first, count;
    bool usable;
  };
  for (const Use& u : {Use{Corner::Next, 0, 8, false}, Use{Corner::Next, 0, 9, true},
                       Use{Corner::Next, 8, 16, false}, Use{Corner::Previous, 0, 20, false},
                       Use{Corner::Previous, 8, 20, true}, Use{Corner::None, 8, 20, false}}) {
    EXPECT_EQ(CornerUsable(u.corner, u.first, u.count), u.usable) << u.first << "/" << u.count;
  }
  EXPECT_EQ(TurnPage(Corner::Next, 8), 16);
  EXPECT_EQ(TurnPage(Corner::Previous, 8), 0);
}

}  // namespace
}  // namespace tarvelis
