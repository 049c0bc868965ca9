#pragma once
// The control ids of the Windows main window. The window tests find the controls by these ids
// (GetDlgItem), so this header includes nothing of Windows.

#include <string_view>

namespace zuv::idk {

inline constexpr int pnlAktualiacjaInfo = 100;
inline constexpr int labWersje = 101;
inline constexpr int lstWersje = 102;
inline constexpr int gbxLogowanie = 110;
inline constexpr int labSerwer = 111;
inline constexpr int labBaza = 112;
inline constexpr int labUzytk = 113;
inline constexpr int labHaslo = 114;
inline constexpr int edbSerwer = 115;
inline constexpr int edbBaza = 116;
inline constexpr int edbUzytk = 117;
inline constexpr int edbHaslo = 118;
inline constexpr int btnLoguj = 119;
inline constexpr int gbxAktualizacja = 120;
inline constexpr int labAktualnaWersja = 121;
inline constexpr int btnAktualizuj = 122;
inline constexpr int btnZamknij = 130;

// The id of the control the layout names so (app/okno/Uklad.h); 0 for a panel the window paints
// itself rather than a control.
constexpr int IdKontrolki(std::string_view nazwa) {
    constexpr struct {
        std::string_view nazwa;
        int id;
    } Nazwy[] = {
        {"pnlAktualiacjaInfo", pnlAktualiacjaInfo},
        {"labWersje", labWersje},
        {"lstWersje", lstWersje},
        {"gbxLogowanie", gbxLogowanie},
        {"labSerwer", labSerwer},
        {"labBaza", labBaza},
        {"labUzytk", labUzytk},
        {"labHaslo", labHaslo},
        {"edbSerwer", edbSerwer},
        {"edbBaza", edbBaza},
        {"edbUzytk", edbUzytk},
        {"edbHaslo", edbHaslo},
        {"btnLoguj", btnLoguj},
        {"gbxAktualizacja", gbxAktualizacja},
        {"labAktualnaWersja", labAktualnaWersja},
        {"btnAktualizuj", btnAktualizuj},
        {"btnZamknij", btnZamknij},
    };
    for (const auto& n : Nazwy)
        if (n.nazwa == nazwa) return n.id;
    return 0;
}

// The window class of the main window, by which tests find it.
inline constexpr const wchar_t* KlasaOknaGlownego = L"TfrmGlowna";

}  // namespace zuv::idk
