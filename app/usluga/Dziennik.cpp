#include "app/usluga/Dziennik.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "app/usluga/CzasISO.h"
#include "app/usluga/platforma/ZapisDziennika.h"
#include "common/Tekst.h"
#include "common/WersjaProgramu.h"

namespace zuv {

std::string ZakodujWartosc(std::string_view wartosc) {
    std::string wynik;
    wynik.reserve(wartosc.size() + 2);
    for (const char znak : wartosc) {
        const auto bajt = static_cast<unsigned char>(znak);
        switch (znak) {
            case '\\':
                wynik += "\\\\";
                break;
            case '"':
                wynik += "\\\"";
                break;
            case '\r':
                wynik += "\\r";
                break;
            case '\n':
                wynik += "\\n";
                break;
            case '\t':
                wynik += "\\t";
                break;
            default:
                if (bajt < 0x20 || bajt == 0x7F) {
                    static constexpr char Cyfry[] = "0123456789ABCDEF";
                    wynik += "\\x";
                    wynik += Cyfry[bajt >> 4];
                    wynik += Cyfry[bajt & 15];
                } else {
                    wynik += znak;
                }
        }
    }
    return wynik;
}

std::string OdczytajWartosc(std::string_view zakodowana) {
    std::string wynik;
    wynik.reserve(zakodowana.size());
    const auto cyfra = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    for (std::size_t i = 0; i < zakodowana.size(); ++i) {
        if (zakodowana[i] != '\\' || i + 1 == zakodowana.size()) {
            wynik += zakodowana[i];
            continue;
        }
        const char nastepny = zakodowana[++i];
        switch (nastepny) {
            case 'r':
                wynik += '\r';
                break;
            case 'n':
                wynik += '\n';
                break;
            case 't':
                wynik += '\t';
                break;
            case 'x':
                if (i + 2 < zakodowana.size()) {
                    wynik +=
                        static_cast<char>(cyfra(zakodowana[i + 1]) * 16 + cyfra(zakodowana[i + 2]));
                    i += 2;
                }
                break;
            default:
                wynik += nastepny;
        }
    }
    return wynik;
}

Dziennik::Dziennik(std::string sciezka, std::uint64_t limitBajtow)
    : sciezka_(std::move(sciezka)), limit_(limitBajtow) {}

void Dziennik::UstawSesje(std::string serwer, std::string baza, std::string login) {
    const std::lock_guard zamek(blokada_);
    serwer_ = std::move(serwer);
    baza_ = std::move(baza);
    login_ = std::move(login);
}

void Dziennik::Zapisz(std::string_view zdarzenie, std::initializer_list<Pole> pola) {
    if (sciezka_.empty()) return;
    try {
        std::string linia;
        {
            const std::lock_guard zamek(blokada_);
            linia = CzasISO(std::chrono::system_clock::now(), DokladnoscCzasu::Milisekundy) +
                    " wersja=" + WersjaProgramu + " pid=" + std::to_string(IdentyfikatorProcesu()) +
                    " serwer=\"" + ZakodujWartosc(serwer_) + "\" baza=\"" + ZakodujWartosc(baza_) +
                    "\" login=\"" + ZakodujWartosc(login_) + "\" " + std::string(zdarzenie);
        }
        // Appended piece by piece: `" " + std::string(...)` here makes GCC 12 at -O3 report a
        // false -Wrestrict overlap inside std::string's insert.
        for (const auto& [nazwa, wartosc] : pola) {
            linia += ' ';
            linia += nazwa;
            linia += "=\"";
            linia += ZakodujWartosc(wartosc);
            linia += '"';
        }
        linia += '\n';
        Dopisz(linia);
    } catch (const std::exception& e) {
        const std::lock_guard zamek(blokada_);
        if (!blad_)
            blad_ = Formatuj("Nie udało się zapisać dziennika aktualizacji „%s”: %s",
                             {sciezka_, std::string(e.what())});
    }
}

void Dziennik::Dopisz(const std::string& linia) {
    const std::optional<std::string> powod = DopiszDoPliku(sciezka_, linia, limit_);
    if (!powod) return;
    const std::lock_guard zamek(blokada_);
    if (!blad_)
        blad_ = Formatuj(
            "Nie udało się zapisać dziennika aktualizacji „%s”: %s. Aktualizacja przebiegła tak "
            "samo, ale jej przebiegu nie ma w dzienniku; sprawdź prawa do tego pliku i wolne "
            "miejsce na dysku.",
            {sciezka_, *powod});
}

std::optional<std::string> Dziennik::BladZapisu() const {
    const std::lock_guard zamek(blokada_);
    return blad_;
}

std::optional<std::string> Dziennik::BladDoZgloszenia() {
    const std::lock_guard zamek(blokada_);
    if (!blad_ || zgloszony_) return std::nullopt;
    zgloszony_ = true;
    return blad_;
}

}  // namespace zuv
