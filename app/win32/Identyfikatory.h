#pragma once
// The control ids of the Windows main window. The window tests find the controls by these ids
// (GetDlgItem), so this header includes nothing of Windows.

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

// The window class of the main window, by which tests find it.
inline constexpr const wchar_t* KlasaOknaGlownego = L"TfrmGlowna";

}  // namespace zuv::idk
