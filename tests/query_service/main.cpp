// The word query tests run on a private session bus (ctest starts each under
// dbus-run-session), never on the desktop's own bus.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const char* marker = std::getenv("TOVURI_PRIVATE_BUS");
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  if (!listing && (marker == nullptr || std::string(marker) != "1")) {
    std::fprintf(stderr,
                 "Run these tests on a private bus: dbus-run-session -- env TOVURI_PRIVATE_BUS=1 %s\n",
                 argv[0]);
    return 1;
  }
  // The main window's tests draw nothing anyone sees.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
