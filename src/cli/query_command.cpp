#include "cli/query_command.h"

#include <iostream>

#include "cli/spelling_client.h"
#include "common/spelling_service_names.h"
#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

constexpr int kExitNotAll = 1;

// "org.tovuri.tovuri" stays as given; "tovuri" is the program of that name.
std::string BusNameFor(const std::string& service) {
  return service.find('.') != std::string::npos ? service : SpellingBusName(service);
}

}  // namespace

int QueryWords(const std::string& service, const std::vector<std::string>& words) {
  const std::string bus_name = BusNameFor(service);
  TSpellingClient client;
  if (!client.Connected()) {
    std::cerr << "tovuri-check: " << client.Error() << '\n';
    return kExitNotAll;
  }
  bool all_yes = true;
  for (const std::string& word : words) {
    // Arguments that are not UTF-8 are read as Windows-1252, as files are.
    const TQueryResult result = client.Execute(bus_name, IsValidUtf8(word) ? word : Windows1252ToUtf8(word));
    if (result.status != TQueryStatus::qsAnswered) {
      std::cout.flush();
      std::cerr << "tovuri-check: " << result.text << '\n';
      return kExitNotAll;
    }
    std::cout << result.text << '\n';
    all_yes = all_yes && result.text.starts_with("Yes ");
  }
  return all_yes ? 0 : kExitNotAll;
}

}  // namespace tovuri
