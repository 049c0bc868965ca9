#include "app/win32/PasekZadan.h"

#include <shobjidl.h>

namespace zuv {

PasekZadan::~PasekZadan() {
    if (lista_ != nullptr) lista_->Release();
}

UINT PasekZadan::KomunikatPrzyciskuUtworzonego() {
    return RegisterWindowMessageW(L"TaskbarButtonCreated");
}

void PasekZadan::Polacz(HWND okno) {
    okno_ = okno;
    if (lista_ != nullptr) return;
    ITaskbarList3* lista = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&lista))))
        return;
    if (FAILED(lista->HrInit())) {
        lista->Release();
        return;
    }
    lista_ = lista;
}

void PasekZadan::Poczatek() {
    if (lista_ == nullptr) return;
    lista_->SetProgressState(okno_, TBPF_NORMAL);
    lista_->SetProgressValue(okno_, 0, 1);
}

void PasekZadan::Postep(std::uint64_t zrobione, std::uint64_t wszystkie) {
    if (lista_ == nullptr || wszystkie == 0) return;
    lista_->SetProgressValue(okno_, zrobione, wszystkie);
}

void PasekZadan::Blad() {
    if (lista_ != nullptr) lista_->SetProgressState(okno_, TBPF_ERROR);
}

void PasekZadan::Koniec() {
    if (lista_ != nullptr) lista_->SetProgressState(okno_, TBPF_NOPROGRESS);
}

}  // namespace zuv
