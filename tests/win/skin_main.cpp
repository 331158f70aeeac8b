// The skinning tests run after the graphics start-up, as the program's code does.
#include <gtest/gtest.h>

#include "skin/graphics_startup.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setup::StartLoadDialogModule();
  setup::StartImageButtonModule();
  return RUN_ALL_TESTS();
}
