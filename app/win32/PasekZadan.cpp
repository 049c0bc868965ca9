#include "app/win32/PasekZadan.h"

#include <shobjidl.h>

#include <utility>

namespace zuv {

// Made and ended where ITaskbarList3 is known, which releasing the list needs.
PasekZadan::PasekZadan() = default;
PasekZadan::~PasekZadan() = default;

UINT PasekZadan::KomunikatPrzyciskuUtworzonego() {
    return RegisterWindowMessageW(L"TaskbarButtonCreated");
}

void PasekZadan::Polacz(HWND okno) {
    okno_ = okno;
    if (lista_) return;
    WskaznikCom<ITaskbarList3> lista;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                lista.Adres())) ||
        FAILED(lista->HrInit()))
        return;
    lista_ = std::move(lista);
}

void PasekZadan::Poczatek() {
    if (!lista_) return;
    lista_->SetProgressState(okno_, TBPF_NORMAL);
    lista_->SetProgressValue(okno_, 0, 1);
}

void PasekZadan::Postep(std::uint64_t zrobione, std::uint64_t wszystkie) {
    if (!lista_ || wszystkie == 0) return;
    lista_->SetProgressValue(okno_, zrobione, wszystkie);
}

void PasekZadan::Blad() {
    if (lista_) lista_->SetProgressState(okno_, TBPF_ERROR);
}

void PasekZadan::Koniec() {
    if (lista_) lista_->SetProgressState(okno_, TBPF_NOPROGRESS);
}

}  // namespace zuv
