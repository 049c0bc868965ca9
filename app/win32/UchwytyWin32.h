#pragma once
// Owners of the system's drawing objects, device contexts and COM objects: each gives its handle
// back to the system when it goes out of scope, however the scope is left.

// <windows.h> before the headers that build on it.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <memory>
#include <type_traits>
#include <utility>

namespace zuv {

struct UsunObiektGdi {
    void operator()(HGDIOBJ obiekt) const { DeleteObject(obiekt); }
};
// A GDI object (font, brush, bitmap) deleted with its owner.
template <typename Uchwyt>
using ObiektGdi = std::unique_ptr<std::remove_pointer_t<Uchwyt>, UsunObiektGdi>;
using Czcionka = ObiektGdi<HFONT>;
using Pedzel = ObiektGdi<HBRUSH>;

// The device context of a window (of the screen when the window is null) for a scope.
class KontekstOkna {
  public:
    explicit KontekstOkna(HWND okno) : okno_(okno), dc_(GetDC(okno)) {}
    ~KontekstOkna() {
        if (dc_ != nullptr) ReleaseDC(okno_, dc_);
    }
    KontekstOkna(const KontekstOkna&) = delete;
    KontekstOkna& operator=(const KontekstOkna&) = delete;

    HDC Dc() const { return dc_; }

  private:
    HWND okno_;
    HDC dc_;
};

// A memory device context compatible with `wzor` (the screen's when null), for a scope.
class KontekstPamieci {
  public:
    explicit KontekstPamieci(HDC wzor) : dc_(CreateCompatibleDC(wzor)) {}
    ~KontekstPamieci() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    KontekstPamieci(const KontekstPamieci&) = delete;
    KontekstPamieci& operator=(const KontekstPamieci&) = delete;

    HDC Dc() const { return dc_; }

  private:
    HDC dc_;
};

// The painting of a window on WM_PAINT: BeginPaint, and EndPaint at the scope's end.
class KontekstMalowania {
  public:
    explicit KontekstMalowania(HWND okno) : okno_(okno), dc_(BeginPaint(okno, &malowanie_)) {}
    ~KontekstMalowania() { EndPaint(okno_, &malowanie_); }
    KontekstMalowania(const KontekstMalowania&) = delete;
    KontekstMalowania& operator=(const KontekstMalowania&) = delete;

    HDC Dc() const { return dc_; }

  private:
    HWND okno_;
    PAINTSTRUCT malowanie_{};
    HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced is put back. A null
// object selects nothing.
class WybranyObiekt {
  public:
    WybranyObiekt(HDC dc, HGDIOBJ obiekt)
        : dc_(dc), poprzedni_(obiekt != nullptr ? SelectObject(dc, obiekt) : nullptr) {}
    ~WybranyObiekt() {
        if (poprzedni_ != nullptr) SelectObject(dc_, poprzedni_);
    }
    WybranyObiekt(const WybranyObiekt&) = delete;
    WybranyObiekt& operator=(const WybranyObiekt&) = delete;

  private:
    HDC dc_;
    HGDIOBJ poprzedni_;
};

// A counted reference to a COM object, released with its owner.
template <typename Interfejs>
class WskaznikCom {
  public:
    WskaznikCom() = default;
    ~WskaznikCom() { Zwolnij(); }
    WskaznikCom(WskaznikCom&& inny) noexcept : wskaznik_(std::exchange(inny.wskaznik_, nullptr)) {}
    WskaznikCom& operator=(WskaznikCom&& inny) noexcept {
        if (this != &inny) {
            Zwolnij();
            wskaznik_ = std::exchange(inny.wskaznik_, nullptr);
        }
        return *this;
    }
    WskaznikCom(const WskaznikCom&) = delete;
    WskaznikCom& operator=(const WskaznikCom&) = delete;

    Interfejs* operator->() const { return wskaznik_; }
    Interfejs* Get() const { return wskaznik_; }
    explicit operator bool() const { return wskaznik_ != nullptr; }
    // Where a creating call writes the new reference (CoCreateInstance, QueryInterface); the one
    // held before is released first.
    void** Adres() {
        Zwolnij();
        return reinterpret_cast<void**>(&wskaznik_);
    }

  private:
    void Zwolnij() {
        if (wskaznik_ != nullptr) std::exchange(wskaznik_, nullptr)->Release();
    }

    Interfejs* wskaznik_ = nullptr;
};

// COM on the calling thread, a single-threaded apartment, for a scope. Where it cannot be had the
// scope goes on without it: whatever needs COM then finds no objects to make.
class ApartamentCom {
  public:
    ApartamentCom() : wynik_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ApartamentCom() {
        if (SUCCEEDED(wynik_)) CoUninitialize();
    }
    ApartamentCom(const ApartamentCom&) = delete;
    ApartamentCom& operator=(const ApartamentCom&) = delete;

  private:
    HRESULT wynik_;
};

}  // namespace zuv
