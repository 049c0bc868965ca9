// An update run through the Qt window against the same run through the update command alone.
// The window's side is what a user's press starts: the question, the run on the window's own
// thread, the strip brought up to date by the window's timer, the event loop turning until the
// run's end comes back, the end box. The command's side runs the same steps on one thread with
// the window held in memory. Both apply the linked-in packages over a connection that accepts
// every batch and sends nothing, so only the program's own work is measured; boxes answer at
// once. Rounds alternate between the two sides; each figure is the median of its rounds, and
// the CPU time counts every thread of the process.
//
// Goal: the window's side at most 1.1 times the command's, for one package and for a whole run.

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <string>
#include <vector>

#include "Pomiar.h"
#include "app/PolecenieAktualizacji.h"
#include "app/qt/AplikacjaZUV.h"
#include "app/qt/Glowna.h"
#include "db/Polaczenie.h"
#include "tests/support/OknoPamieciowe.h"
#include "tests/support/PolecenieWWatku.h"

using namespace zuv;

namespace {

// Boxes answered at once: Tak to the question, OK to the rest.
class OdpowiedziNatychmiastowe : public OknaKomunikatow {
  public:
    int Pokaz(const std::string&, const std::string&, int styl) override {
        return (styl & 0x0F) == StylKomunikatu::TakNie ? OdpowiedzKomunikatu::Tak
                                                       : OdpowiedzKomunikatu::Ok;
    }
};

// Records the version given, answers the generation query with 2005, accepts every batch.
class PolaczenieBezczynne : public Polaczenie {
  public:
    explicit PolaczenieBezczynne(std::string wersja) : wersja_(std::move(wersja)) {}
    bool Otwarte() const override { return otwarte_; }
    WynikZapytania WykonajZRekordami(std::string_view polecenie) override {
        if (polecenie.starts_with("select wartosc")) return {1, WartoscPola(wersja_)};
        return {1, WartoscPola(std::int64_t{2005})};
    }
    void WykonajBezRekordow(std::string_view polecenie, int) override {
        wyslane_ += polecenie.size();
    }

  protected:
    void OtworzSesje(const DaneLogowania&) override { otwarte_ = true; }
    void ZamknijSesje() override { otwarte_ = false; }
    int RozpocznijNaSerwerze() override { return 1; }
    void ZatwierdzNaSerwerze() override {}
    void WycofajNaSerwerze() override {}

  private:
    std::string wersja_;
    bool otwarte_ = false;
    std::size_t wyslane_ = 0;
};

struct Wynik {
    std::vector<double> cpu, sciana;
    void Dodaj(const Czasy& czasy) {
        cpu.push_back(czasy.cpu);
        sciana.push_back(czasy.sciana);
    }
};

void Porownaj(const char* nazwa, const char* wersja, int rundy, OknaKomunikatow& komunikaty) {
    PolaczenieBezczynne connPolecenia(wersja);
    OknoPamieciowe pamiec;
    PolecenieAktualizacji polecenie(connPolecenia,
                                    WidokOkna{pamiec, pamiec, pamiec, komunikaty, pamiec});
    ZalogujWWatku(polecenie);

    PolaczenieBezczynne connOkna(wersja);
    TfrmGlowna okno(komunikaty, connOkna);
    okno.show();
    okno.findChild<QLineEdit*>("edbSerwer")->setText("serwer");
    okno.findChild<QLineEdit*>("edbBaza")->setText("ZUV");
    okno.btnLogujClick();
    while (okno.WOczekiwaniu()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);

    Wynik samo, przezOkno;
    for (int runda = 0; runda < rundy; ++runda) {
        samo.Dodaj(Zmierz([&] { AktualizujWWatku(polecenie); }));
        pamiec.teksty.clear();
        pamiec.wypelnienia.clear();
        przezOkno.Dodaj(Zmierz([&] {
            okno.btnAktualizujClick();
            while (okno.WOczekiwaniu()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }));
    }
    const double cpuSamo = Mediana(samo.cpu), cpuOkno = Mediana(przezOkno.cpu);
    const double scianaSamo = Mediana(samo.sciana), scianaOkno = Mediana(przezOkno.sciana);
    std::printf("%s (from %s, %d rounds each)\n", nazwa, wersja, rundy);
    std::printf("  command alone: %8.3f ms wall, %8.3f ms CPU\n", scianaSamo * 1e3, cpuSamo * 1e3);
    std::printf("  through window: %7.3f ms wall, %8.3f ms CPU\n", scianaOkno * 1e3, cpuOkno * 1e3);
    std::printf("  wall_ratio=%.3f cpu_ratio=%.3f (goal at most 1.1)\n", scianaOkno / scianaSamo,
                cpuOkno / cpuSamo);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    OdpowiedziNatychmiastowe komunikaty;
    AplikacjaZUV aplikacja(argc, argv, komunikaty);
    Porownaj("one package, 11.5.0.6", "11.4.0.1", 300, komunikaty);
    Porownaj("whole run, 38 packages", "8.1.0.0", 40, komunikaty);
    return 0;
}
