#pragma once
// Which packages reached the database: the own version that each package's opening batch sets.

#include <string>
#include <vector>

// The versions of the packages whose opening batch is among `partie`, in order.
inline std::vector<std::string> WersjePakietow(const std::vector<std::string>& partie) {
    std::vector<std::string> wersje;
    const std::string znacznik = "set @wersja_aktualna   = '";
    for (const auto& partia : partie) {
        const auto poczatek = partia.find(znacznik);
        if (poczatek == std::string::npos) continue;
        const auto od = poczatek + znacznik.size();
        wersje.push_back(partia.substr(od, partia.find('\'', od) - od));
    }
    return wersje;
}
