// The Windows program: the main window and its message loop.
// <windows.h> before the headers that build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cwchar>
#include <string>

#include "app/usluga/Dziennik.h"
#include "app/win32/Glowna.h"
#include "app/win32/OknaKomunikatowWin32.h"
#include "app/win32/UchwytyWin32.h"
#include "common/WersjaProgramu.h"
#include "db/PolaczenieODBC.h"

int WINAPI wWinMain(HINSTANCE instancja, HINSTANCE, PWSTR polecenie, int pokaz) {
    // "--version": a window program has no console to print to, so the version comes in a box.
    if (polecenie != nullptr && std::wcsstr(polecenie, L"--version") != nullptr) {
        zuv::OknaKomunikatowWin32().Pokaz(
            std::string("Aktualizacja ZUV, wersja ") + zuv::WersjaProgramu, "Aktualizacja ZUV",
            zuv::StylKomunikatu::Ok | zuv::StylKomunikatu::IkonaInformacja);
        return 0;
    }
    // The taskbar list is a COM object of the shell.
    const zuv::ApartamentCom com;
    INITCOMMONCONTROLSEX kontrolki{sizeof kontrolki, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&kontrolki);

    int wynik = 0;
    {
        zuv::OknaKomunikatowWin32 komunikaty;
        zuv::PolaczenieODBC conn;
        zuv::Dziennik dziennik(zuv::SciezkaDziennika());
        dziennik.Zapisz("start-programu");
        zuv::TfrmGlowna::ZarejestrujKlase(instancja);
        zuv::TfrmGlowna frmGlowna(instancja, komunikaty, conn, &dziennik);
        ShowWindow(frmGlowna.Uchwyt(), pokaz);
        UpdateWindow(frmGlowna.Uchwyt());

        MSG wiadomosc;
        while (GetMessageW(&wiadomosc, nullptr, 0, 0) > 0) {
            if (frmGlowna.PrzetworzWiadomosc(wiadomosc)) continue;
            TranslateMessage(&wiadomosc);
            DispatchMessageW(&wiadomosc);
        }
        wynik = static_cast<int>(wiadomosc.wParam);
        dziennik.Zapisz("koniec-programu");
    }
    return wynik;
}
