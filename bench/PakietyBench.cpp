// Loading and cutting one package of real size, each measured against a floor taken in the same
// run: one memchr pass counting the line breaks of the same bytes. The package is made here by
// the sample generator's full-size mode; nothing of it is stored.
//
// Goals: load and split at most 3 times the floor, the whole cut at most 4 times, and the heap at
// its peak, while one package is loaded and run, at most 3 times the package's size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "GeneratorPakietow.h"
#include "common/Linie.h"
#include "db/Kodowanie.h"
#include "db/Polaczenie.h"
#include "packages/PrzetwarzanieSTR.h"
#include "packages/format/FormatPakietu.h"

using namespace zuv;
using namespace generator;

// Heap accounting for the memory figure: every block carries its size in front of it.
namespace {

std::size_t zajete = 0;
std::size_t szczyt = 0;
constexpr std::size_t Naglowek = alignof(std::max_align_t);

void* Przydziel(std::size_t rozmiar) {
    void* blok = std::malloc(rozmiar + Naglowek);
    if (blok == nullptr) return nullptr;
    *static_cast<std::size_t*>(blok) = rozmiar;
    zajete += rozmiar;
    if (zajete > szczyt) szczyt = zajete;
    return static_cast<char*>(blok) + Naglowek;
}

void Zwolnij(void* wskaznik) noexcept {
    if (wskaznik == nullptr) return;
    void* blok = static_cast<char*>(wskaznik) - Naglowek;
    zajete -= *static_cast<std::size_t*>(blok);
    std::free(blok);
}

}  // namespace

void* operator new(std::size_t rozmiar) {
    if (void* w = Przydziel(rozmiar)) return w;
    throw std::bad_alloc();
}
void* operator new[](std::size_t rozmiar) { return operator new(rozmiar); }
void* operator new(std::size_t rozmiar, const std::nothrow_t&) noexcept {
    return Przydziel(rozmiar);
}
void* operator new[](std::size_t rozmiar, const std::nothrow_t&) noexcept {
    return Przydziel(rozmiar);
}
void operator delete(void* w) noexcept { Zwolnij(w); }
void operator delete[](void* w) noexcept { Zwolnij(w); }
void operator delete(void* w, std::size_t) noexcept { Zwolnij(w); }
void operator delete[](void* w, std::size_t) noexcept { Zwolnij(w); }
void operator delete(void* w, const std::nothrow_t&) noexcept { Zwolnij(w); }
void operator delete[](void* w, const std::nothrow_t&) noexcept { Zwolnij(w); }

namespace {

constexpr const char* WersjaPakietu = "11.5.0.6";

const std::string& Pakiet() {
    static const std::string pakiet = GenerujPakiet(WersjaPakietu, RozmiarPakietu::Pelny);
    return pakiet;
}

// A connection that accepts everything and sends nothing, so that only the runner is measured.
class PolaczenieBezczynne : public Polaczenie {
  public:
    bool Otwarte() const override { return true; }
    WynikZapytania WykonajZRekordami(std::string_view) override {
        return {1, WartoscPola(std::int64_t{2005})};
    }
    void WykonajBezRekordow(std::string_view polecenie, int) override {
        benchmark::DoNotOptimize(polecenie.data());
        wyslane += polecenie.size();
    }
    std::size_t wyslane = 0;

  protected:
    void OtworzSesje(const DaneLogowania&) override {}
    void ZamknijSesje() override {}
    int RozpocznijNaSerwerze() override { return 1; }
    void ZatwierdzNaSerwerze() override {}
    void WycofajNaSerwerze() override {}
};

// The idle connection plus the conversion the ODBC connection makes of every command, into a
// buffer kept from command to command: UTF-8 for FreeTDS, UTF-16 for the wide calls.
template <bool Utf8>
class PolaczenieKonwertujace : public PolaczenieBezczynne {
  public:
    void WykonajBezRekordow(std::string_view polecenie, int) override {
        if constexpr (Utf8) {
            wyslane += Cp1250NaUtf8(polecenie, utf8_).size();
        } else {
            wyslane += Cp1250NaUtf16(polecenie, utf16_).size();
        }
    }

  private:
    BuforKonwersji<char> utf8_;
    BuforKonwersji<char16_t> utf16_;
};

std::size_t LiczPodzialyLinii(std::string_view tekst) {
    std::size_t liczba = 0;
    const char* p = tekst.data();
    const char* const koniec = p + tekst.size();
    while ((
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(koniec - p))))) {
        ++liczba;
        ++p;
    }
    return liczba;
}

void Podloga(benchmark::State& stan) {
    const std::string& pakiet = Pakiet();
    for (auto _ : stan) benchmark::DoNotOptimize(LiczPodzialyLinii(pakiet));
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations() * pakiet.size()));
}

// What loading does with a package's bytes: one copy into a fresh list, cut in one pass.
void WczytanieIPodzial(benchmark::State& stan) {
    const std::string& pakiet = Pakiet();
    for (auto _ : stan) {
        ListaLinii linie;
        linie.UstawTekst(pakiet);
        benchmark::DoNotOptimize(linie.Liczba());
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations() * pakiet.size()));
}

// The whole run of the package: emptiness test, count, every batch cut, marker replaced, gate
// tested and handed to WykonajSQL, commit.
void CiecieNaPartie(benchmark::State& stan) {
    const std::string& pakiet = Pakiet();
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    for (auto _ : stan) {
        PolaczenieBezczynne polaczenie;
        benchmark::DoNotOptimize(
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, WersjaPakietu));
        benchmark::DoNotOptimize(polaczenie.wyslane);
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations() * pakiet.size()));
}

// The whole cut with the connection's conversion of each batch.
template <bool Utf8>
void CiecieZKonwersja(benchmark::State& stan) {
    const std::string& pakiet = Pakiet();
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    for (auto _ : stan) {
        PolaczenieKonwertujace<Utf8> polaczenie;
        benchmark::DoNotOptimize(
            TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, WersjaPakietu));
        benchmark::DoNotOptimize(polaczenie.wyslane);
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations() * pakiet.size()));
}

// The runner's own share of that cut: the count, the batches, the marker and the gate, without
// WykonajSQL, which cuts each batch into lines once more and ends each with CR LF.
void CiecieBezWykonajSQL(benchmark::State& stan) {
    const std::string& pakiet = Pakiet();
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    for (auto _ : stan) {
        std::int32_t wykonane = LiczbaSeparatorow(linie);
        PodzielNaPartie(linie, [&](std::string& partia, std::int32_t) {
            ZamienZnacznikSzyfrowania(partia);
            wykonane += SpelniaMinSQL(2005, partia) ? 1 : 0;
            benchmark::DoNotOptimize(partia.data());
        });
        benchmark::DoNotOptimize(wykonane);
    }
    stan.SetBytesProcessed(static_cast<std::int64_t>(stan.iterations() * pakiet.size()));
}

BENCHMARK(Podloga)->Unit(benchmark::kMillisecond);
BENCHMARK(WczytanieIPodzial)->Unit(benchmark::kMillisecond);
BENCHMARK(CiecieNaPartie)->Unit(benchmark::kMillisecond);
BENCHMARK(CiecieBezWykonajSQL)->Unit(benchmark::kMillisecond);
BENCHMARK(CiecieZKonwersja<true>)->Name("CiecieZKonwersjaUtf8")->Unit(benchmark::kMillisecond);
BENCHMARK(CiecieZKonwersja<false>)->Name("CiecieZKonwersjaUtf16")->Unit(benchmark::kMillisecond);

// Keeps the mean real time of each benchmark for the summary.
class ReporterZCzasami : public benchmark::ConsoleReporter {
  public:
    ReporterZCzasami() : ConsoleReporter(OO_Tabular) {}  // plain text, fit for a log
    void ReportRuns(const std::vector<Run>& przebiegi) override {
        for (const Run& przebieg : przebiegi)
            if (przebieg.run_type == Run::RT_Iteration && przebieg.iterations > 0)
                czasy[przebieg.run_name.function_name] =
                    przebieg.real_accumulated_time / static_cast<double>(przebieg.iterations);
        ConsoleReporter::ReportRuns(przebiegi);
    }
    std::map<std::string, double> czasy;  // seconds per iteration
};

// The heap's peak above what was in use before, while one package is loaded and run.
std::size_t SzczytPamieci() {
    const std::string& pakiet = Pakiet();
    const std::size_t przed = zajete;
    szczyt = zajete;
    {
        ListaLinii linie;
        linie.UstawTekst(pakiet);
        PolaczenieBezczynne polaczenie;
        TPrzetwarzanieSTR::WykonajSkrypt(&polaczenie, linie, true, nullptr, WersjaPakietu);
    }
    return szczyt - przed;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const std::string& pakiet = Pakiet();
    ListaLinii linie;
    linie.UstawTekst(pakiet);
    const std::size_t linii = linie.Liczba();
    const std::int32_t partii = LiczbaSeparatorow(linie);
    linie.Wyczysc();
    const std::size_t pamiec = SzczytPamieci();

    ReporterZCzasami reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double podloga = reporter.czasy["Podloga"];
    const double wczytanie = reporter.czasy["WczytanieIPodzial"];
    const double ciecie = reporter.czasy["CiecieNaPartie"];
    const double ciecieWlasne = reporter.czasy["CiecieBezWykonajSQL"];
    const double zUtf8 = reporter.czasy["CiecieZKonwersjaUtf8"];
    const double zUtf16 = reporter.czasy["CiecieZKonwersjaUtf16"];
    const double rozmiar = static_cast<double>(pakiet.size());
    std::printf("\nPackage %s, full size: %zu bytes, %zu lines, %d batches\n", WersjaPakietu,
                pakiet.size(), linii, partii);
    if (podloga > 0) {
        std::printf("floor (memchr count of line breaks): %.3f ms\n", podloga * 1e3);
        std::printf("load and split: %.3f ms = %.2f x floor (goal at most 3)\n", wczytanie * 1e3,
                    wczytanie / podloga);
        std::printf("whole cut:      %.3f ms = %.2f x floor (goal at most 4)\n", ciecie * 1e3,
                    ciecie / podloga);
        std::printf(
            "whole cut with each batch converted to UTF-8 (FreeTDS): %.3f ms = %.2f x "
            "floor (goal at most 4)\n",
            zUtf8 * 1e3, zUtf8 / podloga);
        std::printf("  to UTF-16 (the wide calls): %.3f ms = %.2f x floor\n", zUtf16 * 1e3,
                    zUtf16 / podloga);
        std::printf("  of it the runner's own (without WykonajSQL): %.3f ms = %.2f x floor\n",
                    ciecieWlasne * 1e3, ciecieWlasne / podloga);
    }
    std::printf(
        "peak heap while loading and running: %zu bytes = %.2f x package (goal at most 3)\n",
        pamiec, static_cast<double>(pamiec) / rozmiar);
    std::printf("  with the package text itself counted as well: %.2f x package\n",
                (static_cast<double>(pamiec) + rozmiar) / rozmiar);
    return 0;
}
