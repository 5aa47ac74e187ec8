// The word check index written inside the page, beside the lexicon in the
// module's file system, so that the loader can keep its bytes for later
// visits, which then map it (as the desktop programs map the shipped one)
// instead of building it.
#include "cli/index_command.h"

extern "C" __attribute__((used)) int tovuri_web_write_index(const char* dir) {
  try {
    return tovuri::WriteIndexForLexicon(dir) == 0 ? 1 : -1;
  } catch (...) {
    return -1;
  }
}
