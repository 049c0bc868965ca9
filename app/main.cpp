#include "app/AplikacjaZUV.h"
#include "app/Glowna.h"
#include "app/OknaKomunikatow.h"

using namespace zuv;

int main(int argc, char** argv) {
    OknaKomunikatowQt komunikaty;
    AplikacjaZUV aplikacja(argc, argv, komunikaty);
    TfrmGlowna frmGlowna(komunikaty);
    frmGlowna.show();
    return aplikacja.exec();
}
