#include "storage/window_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace tarvelis {
namespace {

TEST(WindowFile, KeepsTheLookIgnoresWhatItCannotReadAndDefaultsWhenMissing) {
  const WindowLook window{false, true, 1280, 800};
  EXPECT_EQ(ParseWindowLook(WindowLookText(window)), window);
  const WindowLook defaults;
  EXPECT_EQ(ParseWindowLook(""), defaults);
  // Damaged or absurd values leave the defaults; half a size is no size.
  EXPECT_EQ(ParseWindowLook("Modo=Grande\nAncho=-5\nAlto=800\nMesa=\n"), defaults);
  EXPECT_EQ(ParseWindowLook("Ancho=99999999999\r\nAlto=600\r\n"), defaults);
  EXPECT_EQ(ParseWindowLook("basura\n=\nModo=Ventana\nAncho=900\nAlto=700"),
            (WindowLook{false, false, 900, 700}));
  testing::TempFolder folder;
  EXPECT_EQ(ReadWindowLook(folder.path()), defaults);
  ASSERT_TRUE(WriteWindowLook(folder.path(), window));
  EXPECT_EQ(ReadWindowLook(folder.path()), window);
}

}  // namespace
}  // namespace tarvelis
