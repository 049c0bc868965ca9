#include "Separatory.h"

#include <stdexcept>

namespace generator {

std::string SeparatorOtwarcia() { return "go" + std::string(84, ' '); }
std::string SeparatorPrzedZamknieciem() { return "go "; }
std::string SeparatorKoncowy() { return "go" + std::string(76, ' '); }

std::string Separatory::Aktualizacji() {
    const int i = aktualizacji_++;
    if (i >= plan_.malePartieAktualizacji) return "GO";
    if (i == 0 && plan_.goPo23Blankach) return "go" + std::string(23, ' ');
    if (i == plan_.malePartieAktualizacji - 1 && plan_.dodatkoweGoZeSpacja) return "go ";
    return "go";
}

std::string Separatory::Obiektu() {
    const int j = obiektow_++;
    const int male = plan_.malePartieObiektow;
    if (j < male) {
        const bool tutajGoZeSpacja =
            j == 0 && plan_.dodatkoweGoZeSpacja && plan_.malePartieAktualizacji == 0;
        return tutajGoZeSpacja ? "go " : "go";
    }
    // The rarer forms of "GO" spread evenly over the batches that end with it.
    const int duze = plan_.partieObiektow - male;
    const int n = plan_.separatoryGOZeSpacja;
    if (j == plan_.partieObiektow - 1 && plan_.blankiPoDlugimGO > 0)
        return "GO" + std::string(static_cast<std::size_t>(plan_.blankiPoDlugimGO), ' ');
    for (int t = 0; t < n; ++t)
        if (j == male + (t + 1) * duze / (n + 1)) return "GO ";
    return "GO";
}

void Separatory::SprawdzWykorzystanie() const {
    if (aktualizacji_ != plan_.partieAktualizacji || obiektow_ != plan_.partieObiektow)
        throw std::logic_error("Liczba partii pakietu różni się od planu");
}

}  // namespace generator
