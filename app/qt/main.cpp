#include "app/qt/AplikacjaZUV.h"
#include "app/qt/Glowna.h"
#include "app/qt/OknaKomunikatowQt.h"
#include "common/PrzydzialPamieci.h"
#include "db/PolaczenieODBC.h"

int main(int argc, char** argv) {
    using namespace zuv;
    UstawPrzydzialPamieci();
    OknaKomunikatowQt komunikaty;
    AplikacjaZUV aplikacja(argc, argv, komunikaty);
    PolaczenieODBC conn;
    TfrmGlowna frmGlowna(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&frmGlowna);
    frmGlowna.show();
    return aplikacja.exec();
}
