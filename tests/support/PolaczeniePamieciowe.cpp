#include "tests/support/PolaczeniePamieciowe.h"

#include "common/Wyjatki.h"
#include "db/ConnectionST.h"

namespace zuv {

void PolaczeniePamieciowe::Zapisz(Rodzaj rodzaj, std::string tekst, int limitCzasu) {
    wywolania_.push_back({rodzaj, std::move(tekst), limitCzasu, false});
    const auto blad = bledy_.find({rodzaj, Liczba(rodzaj)});
    if (blad != bledy_.end()) {
        wywolania_.back().nieudane = true;
        std::rethrow_exception(blad->second);
    }
}

WynikZapytania PolaczeniePamieciowe::WykonajZRekordami(std::string_view polecenie) {
    Zapisz(Rodzaj::Zapytanie, std::string(polecenie), DomyslnyLimitCzasuPolecenia);
    if (const auto blad = bledyZapytan_.find(polecenie); blad != bledyZapytan_.end())
        std::rethrow_exception(blad->second);
    const auto wynik = wyniki_.find(polecenie);
    if (wynik == wyniki_.end())
        throw EOleException("Brak odpowiedzi na zapytanie: " + std::string(polecenie), -1, "test");
    return wynik->second;
}

void PolaczeniePamieciowe::WykonajBezRekordow(std::string_view polecenie, int limitCzasuSekund) {
    Zapisz(Rodzaj::Polecenie, std::string(polecenie), limitCzasuSekund);
}

void PolaczeniePamieciowe::UstawWynik(std::string zapytanie, WynikZapytania wynik) {
    wyniki_[std::move(zapytanie)] = std::move(wynik);
}

void PolaczeniePamieciowe::UstawBlad(std::string zapytanie, std::exception_ptr blad) {
    bledyZapytan_[std::move(zapytanie)] = std::move(blad);
}

void PolaczeniePamieciowe::Zawiedz(Rodzaj rodzaj, int ktore, std::exception_ptr blad) {
    bledy_[{rodzaj, ktore}] = std::move(blad);
}

std::vector<std::string> PolaczeniePamieciowe::Polecenia() const {
    std::vector<std::string> teksty;
    for (const auto& wywolanie : wywolania_)
        if (wywolanie.rodzaj == Rodzaj::Polecenie) teksty.push_back(wywolanie.tekst);
    return teksty;
}

int PolaczeniePamieciowe::Liczba(Rodzaj rodzaj) const {
    int liczba = 0;
    for (const auto& wywolanie : wywolania_) liczba += wywolanie.rodzaj == rodzaj;
    return liczba;
}

void PolaczeniePamieciowe::OtworzSesje(const DaneLogowania& dane) {
    Zapisz(Rodzaj::Otwarcie, UtworzConnectionString(dane));
    otwarte_ = true;
    poziomNaSerwerze_ = 0;
}

void PolaczeniePamieciowe::ZamknijSesje() {
    Zapisz(Rodzaj::Zamkniecie, {});
    otwarte_ = false;
}

int PolaczeniePamieciowe::RozpocznijNaSerwerze() {
    Zapisz(Rodzaj::Rozpoczecie, {});
    return ++poziomNaSerwerze_;
}

void PolaczeniePamieciowe::ZatwierdzNaSerwerze() {
    Zapisz(Rodzaj::Zatwierdzenie, {});
    if (poziomNaSerwerze_ > 0) --poziomNaSerwerze_;
}

void PolaczeniePamieciowe::WycofajNaSerwerze() {
    Zapisz(Rodzaj::Wycofanie, {});
    if (poziomNaSerwerze_ > 0) --poziomNaSerwerze_;
}

}  // namespace zuv
