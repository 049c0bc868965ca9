// sprawdz-pakiety FOLDER
// Checks a folder of update packages as the program will read them, before a build ships them.
// Prints every error and warning with its file and line, then a summary. Exit status: 0 with no
// error, 1 with errors, 2 when the folder cannot be read or the command is used wrongly.

#include <filesystem>
#include <iostream>

#include "packages/checker/SprawdzenieKatalogu.h"

int main(int argc, char** argv) {
    using namespace zuv;
    if (argc != 2) {
        std::cerr << "Użycie: sprawdz-pakiety FOLDER\n";
        return 2;
    }
    const std::filesystem::path katalog = argv[1];
    if (!std::filesystem::is_directory(katalog)) {
        std::cerr << "sprawdz-pakiety: " << katalog.string() << " nie jest folderem\n";
        return 2;
    }

    RaportPakietow raport;
    FiguryPakietow figury;
    try {
        figury = SprawdzKatalogPakietow(katalog, raport);
    } catch (const std::exception& blad) {
        std::cerr << "sprawdz-pakiety: " << blad.what() << '\n';
        return 2;
    }
    raport.Wypisz(std::cout);
    std::cout << "Pakiety: " << figury.pakiety << ", bajty: " << figury.bajty
              << ", wiersze: " << figury.wiersze << ", partie: " << figury.partie
              << ", znaczniki szyfrowania: " << figury.znacznikiSzyfrowania
              << ", znaczniki generacji: " << figury.znacznikiGeneracji
              << ", samotne CR: " << figury.samotneCR << ".\n"
              << "Błędy: " << raport.Bledy() << ", ostrzeżenia: " << raport.Ostrzezenia() << ".\n";
    return raport.Bledy() == 0 ? 0 : 1;
}
