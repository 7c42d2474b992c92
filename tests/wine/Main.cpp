#include <gtest/gtest.h>

#include <cstring>

#include "tests/wine/FileFixture.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--hold-open") == 0) fixture::HoldOpen(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "--idle-in") == 0) {
    const char* window = argc > 3 ? argv[3] : "";
    fixture::IdleIn(argv[2], std::strcmp(window, "ends") == 0    ? fixture::OnClose::Ends
                             : std::strcmp(window, "stays") == 0 ? fixture::OnClose::Stays
                                                                 : fixture::OnClose::NoWindow);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
