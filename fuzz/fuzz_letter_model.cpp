// The suggestions' letter model read from arbitrary bytes: a file it refuses
// is said to be refused, and a model it keeps gives every word a finite,
// non-negative cost, which the shortcut for near words agrees with.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "checker/letter_model.h"
#include "fuzz_support.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("letter_model.tsv", fuzz::AsText(data, size));
  TLetterModel model;
  if (!model.Load(path)) {
    // The file is there: a refusal always says which line or why.
    if (model.Problem().empty() || !model.Empty()) abort();
    return 0;
  }
  const std::string word = "ngiyabonga";
  const std::vector<double> costs = model.LetterCosts(word);
  for (const char* candidate : {"ngiyabonga", "ngiyabong", "ngiyabongaa", "ngyabonga", "umuntu", "a", "", "Z'x"}) {
    const double cost = model.Cost(candidate);
    if (!std::isfinite(cost) || cost < -1e-9) abort();
    const double near = model.CostNear(candidate, word, costs);
    if (std::fabs(near - cost) > 1e-6 * (1 + cost)) abort();
  }
  return 0;
}
