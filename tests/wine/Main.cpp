#include <gtest/gtest.h>

#include <cstring>

#include "tests/wine/FileFixture.h"

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--hold-open") == 0) {
    bool sharesDeletion = false;
    bool whenFree = false;
    for (int at = 3; at < argc; ++at) {
      sharesDeletion = sharesDeletion || std::strcmp(argv[at], "delete") == 0;
      whenFree = whenFree || std::strcmp(argv[at], "when-free") == 0;
    }
    fixture::HoldOpen(argv[2], sharesDeletion, whenFree);
  }
  if (argc >= 3 && std::strcmp(argv[1], "--idle-in") == 0) {
    const char* window = argc > 3 ? argv[3] : "";
    fixture::IdleIn(argv[2], std::strcmp(window, "ends") == 0    ? fixture::OnClose::Ends
                             : std::strcmp(window, "stays") == 0 ? fixture::OnClose::Stays
                                                                 : fixture::OnClose::NoWindow);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
