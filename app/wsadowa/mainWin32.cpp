// The unattended program on Windows: a console program whose arguments come as UTF-16.
#include <windows.h>

#include <string>
#include <vector>

#include "app/wsadowa/ProgramWsadowy.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> argumenty;
    for (int i = 1; i < argc; ++i) {
        const int dlugosc =
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string tekst(static_cast<std::size_t>(dlugosc > 0 ? dlugosc - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, tekst.data(), dlugosc, nullptr, nullptr);
        argumenty.push_back(std::move(tekst));
    }
    return zuv::UruchomProgramWsadowy(argumenty);
}
