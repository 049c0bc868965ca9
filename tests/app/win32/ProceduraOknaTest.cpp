// The window procedure's fence, on a real window: what a handler throws reaches the window's
// error handling instead of crossing the system's code, the window answering on, and a window
// whose creation throws is not made.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/win32/ProceduraOkna.h"

using namespace zuv;

namespace {

constexpr const wchar_t* Klasa = L"TOknoProby";
constexpr UINT Rzuc = WM_APP + 1;       // throws a std::exception
constexpr UINT RzucInne = WM_APP + 2;   // throws something else
constexpr UINT Odpowiedz = WM_APP + 3;  // answers 7

class OknoProby {
  public:
    explicit OknoProby(bool rzucPrzyTworzeniu) : rzucPrzyTworzeniu_(rzucPrzyTworzeniu) {
        static const ATOM klasa = [] {
            WNDCLASSEXW opis{};
            opis.cbSize = sizeof opis;
            opis.lpfnWndProc = ProceduraOkna<OknoProby>::Procedura;
            opis.hInstance = GetModuleHandleW(nullptr);
            opis.lpszClassName = Klasa;
            return RegisterClassExW(&opis);
        }();
        EXPECT_NE(klasa, 0);
        // A message-only window: messages are what is tried, and it needs no screen.
        okno_ = CreateWindowExW(0, Klasa, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), this);
    }
    ~OknoProby() {
        if (okno_ != nullptr) DestroyWindow(okno_);
    }
    OknoProby(const OknoProby&) = delete;
    OknoProby& operator=(const OknoProby&) = delete;

    HWND Uchwyt() const { return okno_; }
    const std::vector<std::string>& Bledy() const { return bledy_; }

  private:
    friend class ProceduraOkna<OknoProby>;
    LRESULT Obsluz(UINT komunikat, WPARAM w, LPARAM l) {
        switch (komunikat) {
            case WM_CREATE:
                if (rzucPrzyTworzeniu_) throw std::runtime_error("tworzenie");
                return 0;
            case Rzuc:
                throw std::runtime_error("obsluga");
            case RzucInne:
                throw 1;
            case Odpowiedz:
                return 7;
            default:
                return DefWindowProcW(okno_, komunikat, w, l);
        }
    }
    void PokazBladObslugi(const std::exception& blad) { bledy_.emplace_back(blad.what()); }

    HWND okno_ = nullptr;
    bool rzucPrzyTworzeniu_;
    std::vector<std::string> bledy_;
};

}  // namespace

TEST(ProceduraOkna, WhatAHandlerThrowsReachesTheWindowsErrorHandling) {
    OknoProby okno(false);
    ASSERT_NE(okno.Uchwyt(), nullptr);
    EXPECT_EQ(SendMessageW(okno.Uchwyt(), Rzuc, 0, 0), 0);
    EXPECT_EQ(SendMessageW(okno.Uchwyt(), RzucInne, 0, 0), 0);
    // Through the message loop, as posted messages (WM_TIMER among them) come.
    ASSERT_TRUE(PostMessageW(okno.Uchwyt(), Rzuc, 0, 0));
    MSG wiadomosc;
    while (PeekMessageW(&wiadomosc, okno.Uchwyt(), 0, 0, PM_REMOVE)) DispatchMessageW(&wiadomosc);
    EXPECT_EQ(SendMessageW(okno.Uchwyt(), Odpowiedz, 0, 0), 7);
    EXPECT_EQ(okno.Bledy(), (std::vector<std::string>{"obsluga", "Nieznany błąd", "obsluga"}));
}

TEST(ProceduraOkna, AWindowWhoseCreationThrowsIsNotMade) {
    const OknoProby okno(true);
    EXPECT_EQ(okno.Uchwyt(), nullptr);
    EXPECT_EQ(okno.Bledy(), std::vector<std::string>{"tworzenie"});
}
