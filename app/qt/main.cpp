#include <cstdio>
#include <cstring>

#include "app/qt/AplikacjaZUV.h"
#include "app/qt/Glowna.h"
#include "app/qt/OknaKomunikatowQt.h"
#include "app/qt/SygnalyZakonczenia.h"
#include "app/usluga/Dziennik.h"
#include "common/PrzydzialPamieci.h"
#include "common/WersjaProgramu.h"
#include "db/PolaczenieODBC.h"

int main(int argc, char** argv) {
    using namespace zuv;
    // "--version" prints the version and ends before any window or display is needed.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("aktualizacja-zuv %s\n", WersjaProgramu);
            return 0;
        }
    UstawPrzydzialPamieci();
    OknaKomunikatowQt komunikaty;
    AplikacjaZUV aplikacja(argc, argv, komunikaty);
    PolaczenieODBC conn;
    Dziennik dziennik(SciezkaDziennika());
    dziennik.Zapisz("start-programu");
    TfrmGlowna frmGlowna(komunikaty, conn, &dziennik);
    komunikaty.UstawOknoGlowne(&frmGlowna);
    SygnalyZakonczenia sygnaly([&] { frmGlowna.ZamknijNaZadanieSystemu(); });
    frmGlowna.show();
    const int wynik = aplikacja.exec();
    dziennik.Zapisz("koniec-programu");
    return wynik;
}
