#pragma once
// The progress of an update run on the window's taskbar button (ITaskbarList3): a bar that grows
// with the operations done, red after a failure, gone when the run ends well. Where the system
// offers no taskbar list (before Windows 7, or a shell without one) every call does nothing.

#include <windows.h>

#include <cstdint>

#include "app/win32/UchwytyWin32.h"

struct ITaskbarList3;

namespace zuv {

class PasekZadan {
  public:
    PasekZadan();
    ~PasekZadan();
    PasekZadan(const PasekZadan&) = delete;
    PasekZadan& operator=(const PasekZadan&) = delete;

    // The message the shell sends once the window's taskbar button exists; only then can the
    // button be told anything.
    static UINT KomunikatPrzyciskuUtworzonego();
    // Called on that message, on the window's thread.
    void Polacz(HWND okno);

    // A run starts: an empty green bar.
    void Poczatek();
    void Postep(std::uint64_t zrobione, std::uint64_t wszystkie);
    // The run failed: the bar turns red and stays so until the next run.
    void Blad();
    // The run ended well: the bar goes.
    void Koniec();

  private:
    HWND okno_ = nullptr;
    WskaznikCom<ITaskbarList3> lista_;
};

}  // namespace zuv
