#pragma once
// Message boxes for tests: each box is recorded instead of shown and answered as the test said
// beforehand (OK for an OK box, No for a question nobody answered).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/OknaKomunikatow.h"

struct Komunikat {
    std::string tekst;
    std::string tytul;
    int styl;
};

class OknaKomunikatowSkryptowe : public zuv::OknaKomunikatow {
  public:
    int Pokaz(const std::string& tekst, const std::string& tytul, int styl) override {
        pokazane.push_back({tekst, tytul, styl});
        if (przedOdpowiedzia) przedOdpowiedzia();
        if ((styl & 0x0F) != zuv::StylKomunikatu::TakNie) return zuv::OdpowiedzKomunikatu::Ok;
        if (odpowiedzi.empty()) return zuv::OdpowiedzKomunikatu::Nie;
        const int odpowiedz = odpowiedzi.front();
        odpowiedzi.pop_front();
        return odpowiedz;
    }

    std::vector<Komunikat> pokazane;
    std::deque<int> odpowiedzi;
    // What happens while a box waits for its answer (another thread's work, say); none when
    // empty.
    std::function<void()> przedOdpowiedzia;
};
