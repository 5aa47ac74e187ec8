#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "spell/ox3DictionaryCompiler.h"
#include "temp_folder.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

// Runs a command and returns what it printed on standard output.
std::string Output(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  *status = pclose(pipe);
  return out;
}

TEST(SuggestCommand, PrintsRankedSuggestionsFromTheDataDirectory) {
  const fs::path tool = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
  if (!fs::exists(tool)) GTEST_SKIP() << "tovuri-check is not built";
  const testing::TempDir folder;
  const fs::path& dir = folder.Path();
  std::ofstream(dir / "Ndebele.oxm", std::ios::binary)
      << CompileMainDictionary({"umuntu", "abantu", "umfana", "indoda"}, "Test", 0).bytes;

  int status = -1;
  const std::string out = Output(tool.string() + " --data " + dir.string() +
                                     " --suggest umntu abnatu qqqq \"umfan\xC3\xA1\"", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out,
            "umntu: umuntu\n"
            "abnatu: abantu\n"
            "qqqq: (no suggestions)\n"
            "umfan\xC3\xA1: umfana\n");

  // Without a main dictionary there is nothing to suggest from.
  fs::remove(dir / "Ndebele.oxm");
  Output(tool.string() + " --data " + dir.string() + " --suggest umntu 2>/dev/null", &status);
  EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace tovuri
