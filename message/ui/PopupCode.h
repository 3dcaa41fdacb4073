#pragma once

#include <functional>
#include <string>

namespace kestrix::message {

// Asks the user for a template of a popup type (the popup-code routine); blank when none was chosen.
using PopupCode = std::function<std::string(const std::string& type, const std::string& conversions,
                                            std::size_t maxLength)>;

} // namespace kestrix::message
