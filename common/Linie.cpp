#include "common/Linie.h"

namespace zuv {

std::string ZLiniamiCrLf(std::string_view tekst) {
    // The lines of a command text mostly end with CR LF already, so runs of such lines are
    // copied whole; only a lone CR or LF, and the end of the text, break a run.
    std::string wynik;
    wynik.reserve(tekst.size() + 2);
    const char* p = tekst.data();
    const char* const koniec = p + tekst.size();
    const char* odcinek = p;  // the first byte not yet copied
    while (p < koniec && *p != '\0') {
        p = ZnajdzKoniecLinii(p, koniec);
        if (p == koniec || *p == '\0') {  // a last line without a break
            wynik.append(odcinek, p);
            wynik += "\r\n";
            return wynik;
        }
        if (*p == '\r' && koniec - p >= 2 && p[1] == '\n') {
            p += 2;
            continue;
        }
        wynik.append(odcinek, p);
        wynik += "\r\n";
        odcinek = ++p;
    }
    wynik.append(odcinek, p);
    return wynik;
}

bool MaLinieCrLf(std::string_view tekst) noexcept {
    const char* p = tekst.data();
    const char* const koniec = p + tekst.size();
    if (tekst.size() < 2 || koniec[-2] != '\r' || koniec[-1] != '\n') return false;
    while ((p = ZnajdzKoniecLinii(p, koniec)) != koniec) {
        if (*p != '\r' || koniec - p < 2 || p[1] != '\n') return false;
        p += 2;
    }
    return true;
}

void ListaLinii::Dodaj(std::string_view linia) {
    linie_.push_back({bufor_.size(), linia.size()});
    bufor_ += linia;
}

void ListaLinii::Wyczysc() {
    bufor_.clear();
    linie_.clear();
}

void ListaLinii::UstawTekst(std::string_view tekst) {
    // The text is copied once, breaks and all, and the lines are indexed where they stand in
    // it: cheaper than gathering them line by line.
    std::string bufor(tekst);
    std::vector<Linia> linie;
    // About one line per 37 bytes in a package; reserving avoids regrowing a large index.
    linie.reserve(tekst.size() / 32 + 1);
    PodzielNaLinie(bufor, [&](std::string_view linia) {
        linie.push_back({static_cast<std::size_t>(linia.data() - bufor.data()), linia.size()});
    });
    bufor_ = std::move(bufor);
    linie_ = std::move(linie);
}

}  // namespace zuv
