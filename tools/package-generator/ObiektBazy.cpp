#include "ObiektBazy.h"

#include <stdexcept>

namespace generator {

std::string_view TypWSysobjects(RodzajObiektu rodzaj) {
    switch (rodzaj) {
        case RodzajObiektu::Procedura:
            return "P";
        case RodzajObiektu::FunkcjaSkalarna:
            return "FN";
        case RodzajObiektu::FunkcjaTabelaryczna:
            return "TF";
        case RodzajObiektu::FunkcjaWbudowana:
            return "IF";
        case RodzajObiektu::Wyzwalacz:
            return "TR";
    }
    throw std::logic_error("Nieznany rodzaj obiektu");
}

namespace {

std::string_view SlowoDrop(RodzajObiektu rodzaj) {
    switch (rodzaj) {
        case RodzajObiektu::Procedura:
            return "PROCEDURE";
        case RodzajObiektu::Wyzwalacz:
            return "TRIGGER";
        default:
            return "FUNCTION";
    }
}

// Filler goes to procedures only, spread by name so that neighbours differ.
std::size_t Ziarno(std::string_view nazwa) {
    std::size_t h = 2166136261u;
    for (char c : nazwa) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h % 100003;
}

}  // namespace

void PiszObiekt(Kontekst& k, const ObiektBazy& o) {
    PisarzPakietu& p = k.pisarz;
    if (!o.komentarz.empty()) p.Tekst(o.komentarz);
    p.Wiersz("IF EXISTS (SELECT 'X'");
    p.Wiersz("             FROM SYSOBJECTS");
    p.Wiersz("            WHERE NAME = '" + o.nazwa + "'");
    p.Wiersz("              AND TYPE = '" + std::string(TypWSysobjects(o.rodzaj)) + "')");
    p.Wiersz("  DROP " + std::string(SlowoDrop(o.rodzaj)) + " dbo." + o.nazwa);
    p.Separator(k.separatory.Obiektu());

    std::string_view tekst = o.definicja;
    while (!tekst.empty()) {
        const std::size_t koniec = tekst.find('\n');
        const std::string_view wiersz = tekst.substr(0, koniec);
        if (wiersz == MiejsceSzyfrowania) {
            p.Wiersz(o.blankPoZnaczniku ? std::string(ZnacznikSzyfrowania) + " "
                                        : std::string(ZnacznikSzyfrowania));
            if (o.generacja) p.Wiersz(ZnacznikGeneracji);
        } else if (wiersz == MiejsceWypelnienia) {
            PiszWypelnienie(p, k.wypelnienie.Nastepne(), Ziarno(o.nazwa));
        } else {
            p.WierszSzablonu(wiersz);
        }
        if (koniec == std::string_view::npos) break;
        tekst.remove_prefix(koniec + 1);
    }
    p.Separator(k.separatory.Obiektu());
}

void PiszObiekty(Kontekst& k, const std::vector<ObiektBazy>& obiekty) {
    for (const ObiektBazy& o : obiekty) PiszObiekt(k, o);
}

std::string Podstaw(std::string_view wzor,
                    std::initializer_list<std::pair<std::string_view, std::string_view>> wartosci) {
    std::string wynik;
    wynik.reserve(wzor.size() + 256);
    std::size_t i = 0;
    while (i < wzor.size()) {
        const std::size_t otwarcie = wzor.find('{', i);
        if (otwarcie == std::string_view::npos) {
            wynik.append(wzor, i);
            break;
        }
        const std::size_t zamkniecie = wzor.find('}', otwarcie);
        if (zamkniecie == std::string_view::npos)
            throw std::logic_error("Niedomknięty klucz wzoru");
        wynik.append(wzor, i, otwarcie - i);
        const std::string_view klucz = wzor.substr(otwarcie + 1, zamkniecie - otwarcie - 1);
        const std::string_view calosc = wzor.substr(otwarcie, zamkniecie - otwarcie + 1);
        bool znaleziony = false;
        for (const auto& [nazwa, wartosc] : wartosci) {
            if (nazwa == klucz) {
                wynik += wartosc;
                znaleziony = true;
                break;
            }
        }
        // The writer's own places stay for PiszObiekt.
        if (!znaleziony) {
            if (calosc != MiejsceSzyfrowania && calosc != MiejsceWypelnienia)
                throw std::logic_error("Brak wartości klucza wzoru: " + std::string(klucz));
            wynik += calosc;
        }
        i = zamkniecie + 1;
    }
    return wynik;
}

}  // namespace generator
