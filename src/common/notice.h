#pragma once
// How any layer says something to the user: each front end decides where it
// goes (standard error, the status bar, a host's error path).
#include <functional>
#include <string>

namespace tovuri {

using TNotice = std::function<void(const std::string& message)>;

}  // namespace tovuri
