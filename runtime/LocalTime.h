#pragma once

#include <chrono>
#include <ctime>

namespace kestrix::runtime {

// The calendar time of `when` in the local time zone.
std::tm localTime(std::chrono::system_clock::time_point when);

} // namespace kestrix::runtime
