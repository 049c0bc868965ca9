#pragma once
// The information strip at the top of the window: a borderless child window with centred text,
// on which the script runner shows its progress and its failure, and behind the text a fill of
// the run's operations done. Written on the window's thread only (the run hands its progress over
// through PostepPrzebiegu). The run's progress and failure also go to the taskbar button.

#include <windows.h>

#include <exception>
#include <string>

#include "app/InterfejsyOkna.h"
#include "app/win32/ProceduraOkna.h"

namespace zuv {

class PasekZadan;

class PanelInformacyjnyWin32 : public PasekInformacyjny {
  public:
    // Registers the window class.
    static void ZarejestrujKlase(HINSTANCE instancja);
    // Creates the strip as child `id` of `rodzic`; `pasekZadan` must outlive it. Throws when the
    // system makes no window.
    PanelInformacyjnyWin32(HWND rodzic, int id, PasekZadan& pasekZadan);
    PanelInformacyjnyWin32(const PanelInformacyjnyWin32&) = delete;
    PanelInformacyjnyWin32& operator=(const PanelInformacyjnyWin32&) = delete;

    void UstawTekst(std::string_view tekstUtf8) override;
    void OdswiezTeraz() override;
    bool Widoczna() const override;
    void UstawKolor(std::uint32_t kolor) override;
    void PrzywrocKolor() override;
    void UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) override;

  private:
    friend class ProceduraOkna<PanelInformacyjnyWin32>;
    LRESULT Obsluz(UINT komunikat, WPARAM w, LPARAM l);
    // The error in the program's stop box, owned by the window the strip lies in.
    void PokazBladObslugi(const std::exception& blad);
    void Maluj(HDC dc, const RECT& obszar) const;

    HWND okno_ = nullptr;
    PasekZadan& pasekZadan_;
    std::wstring tekst_;
    COLORREF kolor_;
    bool kolorWlasny_ = false;
    double wypelnienie_ = 0;
    HFONT czcionka_ = nullptr;  // the window's, given by WM_SETFONT
};

}  // namespace zuv
