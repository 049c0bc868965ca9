#pragma once
// Time measurements shared by the benchmarks that run against the test server.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

struct Czasy {
    double cpu = 0;     // seconds of user and system time
    double sciana = 0;  // seconds of wall time
};

inline double SekundyCpu(const rusage& uzycie) {
    return static_cast<double>(uzycie.ru_utime.tv_sec + uzycie.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(uzycie.ru_utime.tv_usec + uzycie.ru_stime.tv_usec);
}

// The CPU and wall time `dzialanie` takes in this process.
template <typename Dzialanie>
Czasy Zmierz(Dzialanie&& dzialanie) {
    rusage przed{};
    rusage po{};
    getrusage(RUSAGE_SELF, &przed);
    const auto start = std::chrono::steady_clock::now();
    dzialanie();
    const auto koniec = std::chrono::steady_clock::now();
    getrusage(RUSAGE_SELF, &po);
    return {SekundyCpu(po) - SekundyCpu(przed),
            std::chrono::duration<double>(koniec - start).count()};
}

inline double Mediana(std::vector<double> wartosci) {
    if (wartosci.empty()) return 0;
    std::sort(wartosci.begin(), wartosci.end());
    const std::size_t n = wartosci.size();
    return n % 2 == 1 ? wartosci[n / 2] : (wartosci[n / 2 - 1] + wartosci[n / 2]) / 2;
}

// The number of rounds from "--rounds N", or `domyslnie` without it; 0 after printing the usage
// when the command line holds anything else.
inline int LiczbaRund(int argc, char** argv, int domyslnie) {
    int rundy = domyslnie;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rundy = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--rounds N]\n", argv[0]);
            return 0;
        }
    }
    return rundy;
}
