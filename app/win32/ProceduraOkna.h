#pragma once
// The window procedure of a class of windows each handled by an object of a C++ class, and the
// program's default handling of an error thrown by a window's handler.

#include <windows.h>

#include <exception>

#include "app/ObslugaBledu.h"
#include "app/OknaKomunikatow.h"

namespace zuv {

// Shows the error in the program's stop box, captioned with the program's file name.
void PokazBladProgramu(OknaKomunikatow& komunikaty, const std::exception& blad);

// The procedure of the windows of class `Okno`, whose object is the creation parameter of
// CreateWindowExW. From WM_NCCREATE on the window keeps the object (GWLP_USERDATA) and every
// message goes to it. `Okno` declares `friend class ProceduraOkna<Okno>;` and has:
//   HWND okno_;  the window, set at WM_NCCREATE, before the object sees any message;
//   LRESULT Obsluz(UINT komunikat, WPARAM w, LPARAM l);  the handling of one message;
//   void PokazBladObslugi(const std::exception& blad);  shows what Obsluz threw.
// No exception leaves the procedure, since one crossing the system's code (DispatchMessageW,
// SendMessageW, CreateWindowExW) is undefined behaviour: what Obsluz throws goes to
// PokazBladObslugi and the message answers 0, or, at WM_NCCREATE and WM_CREATE, the window is
// not made (CreateWindowExW gives null). Should PokazBladObslugi throw too, the program ends
// (std::terminate), there being nowhere left to show the error.
template <typename Okno>
class ProceduraOkna {
  public:
    static LRESULT CALLBACK Procedura(HWND okno, UINT komunikat, WPARAM w, LPARAM l) noexcept {
        if (komunikat == WM_NCCREATE) {
            auto* tworzone =
                static_cast<Okno*>(reinterpret_cast<const CREATESTRUCTW*>(l)->lpCreateParams);
            if (tworzone != nullptr) tworzone->okno_ = okno;
            SetWindowLongPtrW(okno, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tworzone));
        }
        auto* obiekt = reinterpret_cast<Okno*>(GetWindowLongPtrW(okno, GWLP_USERDATA));
        if (obiekt == nullptr) return DefWindowProcW(okno, komunikat, w, l);
        LRESULT wynik = 0;
        if (UruchomWGranicyBledu(
                [&] { wynik = obiekt->Obsluz(komunikat, w, l); },
                [&](const std::exception& blad) { obiekt->PokazBladObslugi(blad); }))
            return wynik;
        switch (komunikat) {
            case WM_NCCREATE:
                return FALSE;
            case WM_CREATE:
                return -1;
            default:
                return 0;
        }
    }
};

}  // namespace zuv
