#include "model/name_fit.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

// Every character counts one, the mark too.
const NameWidth kEven = [](int, const std::string& text) { return CharacterCount(text); };

TEST(FitNames, WholeCutAndToldApart) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    std::vector<int> rooms;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"names that fit stay whole", {"Ana", "Jugador1"}, {8, 8}, {"Ana", "Jugador1"}},
      {"a long name keeps the mark of its cut",
       {"Íñigo Pérez", "Ana"},
       {8, 8},
       {"Íñigo P…", "Ana"}},
      {"two names alike at the cut keep their ends",
       {"Jugador1", "Jugador2", "Jugador3", "Ana"},
       {6, 6, 6, 6},
       {"Juga…1", "Juga…2", "Juga…3", "Ana"}},
      {"the end grows until the names differ",
       {"Maria Luisa 10", "Maria Luisa 20"},
       {8, 8},
       {"Maria…10", "Maria…20"}},
      {"the same name twice is left alike", {"Pepe Pepe", "Pepe Pepe"}, {5, 5}, {"Pepe…", "Pepe…"}},
      {"each name its own room", {"Jugador1", "Jugador3"}, {8, 5}, {"Jugador1", "Juga…"}},
      {"no room shows nothing", {"Jugador1"}, {1}, {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitNames(c.names, c.rooms, kEven), c.shown) << c.what;
}

}  // namespace
}  // namespace tarvelis
