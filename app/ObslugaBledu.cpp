#include "app/ObslugaBledu.h"

#include "common/Ascii.h"

namespace zuv {

std::string TytulZNazwyPliku(const std::string& sciezka) {
    const auto folder = sciezka.find_last_of("/\\");
    std::string nazwa = folder == std::string::npos ? sciezka : sciezka.substr(folder + 1);
    nazwa = nazwa.substr(0, nazwa.find('.'));
    // File names of the program are ASCII; bytes of other characters are left as they are.
    for (std::size_t i = 1; i < nazwa.size(); ++i) nazwa[i] = MalaLiteraAscii(nazwa[i]);
    return nazwa;
}

void PokazBlad(OknaKomunikatow& komunikaty, const std::string& tytul, const std::exception& blad) {
    komunikaty.Pokaz(TekstBledu(blad.what()), tytul,
                     StylKomunikatu::Ok | StylKomunikatu::IkonaStop);
}

}  // namespace zuv
