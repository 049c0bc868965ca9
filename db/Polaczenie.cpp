#include "db/Polaczenie.h"

#include "common/Wyjatki.h"

namespace zuv {

void Polaczenie::Otworz() {
    // The program always closes before it opens again; opening twice is a fault of the caller.
    if (Otwarte())
        throw EOleException("Operation is not allowed when the object is open.",
                            static_cast<std::int32_t>(0x800A0E79), "ADODB.Connection");
    OtworzSesje(dane_);
    poziomTransakcji_ = 0;
}

void Polaczenie::Zamknij() {
    if (!Otwarte()) return;
    while (poziomTransakcji_ > 0) RollbackTrans();
    ZamknijSesje();
}

int Polaczenie::BeginTrans() {
    const int poziom = RozpocznijNaSerwerze();
    poziomTransakcji_ = poziom;
    return poziom;
}

void Polaczenie::CommitTrans() {
    ZatwierdzNaSerwerze();
    if (poziomTransakcji_ > 0) --poziomTransakcji_;
}

void Polaczenie::RollbackTrans() {
    WycofajNaSerwerze();
    if (poziomTransakcji_ > 0) --poziomTransakcji_;
}

}  // namespace zuv
