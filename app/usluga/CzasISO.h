#pragma once
// A moment as people and programs read it alike: local time with its offset from UTC, ISO 8601.

#include <chrono>
#include <string>

namespace zuv {

enum class DokladnoscCzasu { Sekundy, Milisekundy };

// "2026-12-10T23:40:01+01:00", or with milliseconds "2026-12-10T23:40:01.123+01:00".
std::string CzasISO(std::chrono::system_clock::time_point chwila,
                    DokladnoscCzasu dokladnosc = DokladnoscCzasu::Sekundy);

}  // namespace zuv
