// Runs the console program on a console, as an administrator at a console window would, for the
// console tests: reads back what the console shows, and the program's version resource. Writes
// its findings as UTF-8 lines on standard output, which stays the pipe of the test that started
// it whatever console the robot makes.
//
//   robot-konsoli uruchom CP PROGRAM [ARG...]
//       starts PROGRAM in a console of the robot's own, whose output code page is set to CP first
//       (0: left as the console comes), and waits for it to end; then
//       -> kod EXIT_CODE (-1: not ended within the limit, and ended by the robot)
//       -> strona-kodowa BEFORE AFTER: the console's output code page before and after the run
//       -> wiersz TEXT: each row of the screen from the top to the cursor's, as the console holds
//          it (any escape character included), spaces at its end removed
//   robot-konsoli przerwij CP TEXT PROGRAM [ARG...]
//       as uruchom, pressing Ctrl+C on the console (to every program on it) once the screen
//       shows TEXT
//   robot-konsoli wersja PROGRAM
//       -> NAME TEXT for FileDescription, FileVersion, ProductName and ProductVersion of the
//          version resource's Polish Unicode table, and stala VERSION of its fixed part
//
// Fields are separated by a tab. The console needs a display under Wine (its window).
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/TekstWin32.h"

using namespace zuv;

namespace {

constexpr DWORD LimitPrzebiegu = 120'000;
// Wider than any line the program prints, so that no line is wrapped over two rows and the test
// reads it whole; high enough for a whole run.
constexpr COORD RozmiarEkranu{400, 2000};

HANDLE wyniki = INVALID_HANDLE_VALUE;

void Wypisz(const std::string& linia) {
    const std::string tekst = linia + "\n";
    DWORD zapisane = 0;
    WriteFile(wyniki, tekst.data(), static_cast<DWORD>(tekst.size()), &zapisane, nullptr);
}

// One argument as CommandLineToArgvW reads it back: quoted where it holds a space, a tab or a
// quote, with the backslashes before a quote doubled.
std::wstring Argument(const std::wstring& tekst) {
    if (!tekst.empty() && tekst.find_first_of(L" \t\"") == std::wstring::npos) return tekst;
    std::wstring wynik = L"\"";
    std::size_t ukosniki = 0;
    for (const wchar_t znak : tekst) {
        if (znak == L'\\') {
            ++ukosniki;
            continue;
        }
        wynik.append(znak == L'"' ? 2 * ukosniki + 1 : ukosniki, L'\\');
        ukosniki = 0;
        wynik += znak;
    }
    wynik.append(2 * ukosniki, L'\\');
    return wynik + L"\"";
}

HANDLE OtworzKonsole(const wchar_t* nazwa) {
    SECURITY_ATTRIBUTES dziedziczony{sizeof dziedziczony, nullptr, TRUE};
    return CreateFileW(nazwa, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &dziedziczony, OPEN_EXISTING, 0, nullptr);
}

// The rows of the screen from the top to the cursor's, spaces at their ends removed.
std::vector<std::wstring> Wiersze(HANDLE ekran) {
    std::vector<std::wstring> wiersze;
    CONSOLE_SCREEN_BUFFER_INFO opis{};
    if (!GetConsoleScreenBufferInfo(ekran, &opis)) return wiersze;
    for (SHORT y = 0; y <= opis.dwCursorPosition.Y; ++y) {
        std::wstring znaki(static_cast<std::size_t>(opis.dwSize.X), L' ');
        DWORD przeczytane = 0;
        ReadConsoleOutputCharacterW(ekran, znaki.data(), static_cast<DWORD>(znaki.size()),
                                    COORD{0, y}, &przeczytane);
        znaki.resize(przeczytane);
        znaki.erase(znaki.find_last_not_of(L' ') + 1);
        wiersze.push_back(std::move(znaki));
    }
    return wiersze;
}

bool Pokazuje(HANDLE ekran, const std::wstring& tekst) {
    for (const std::wstring& wiersz : Wiersze(ekran))
        if (wiersz.find(tekst) != std::wstring::npos) return true;
    return false;
}

// The robot stays through the Ctrl+C it presses for the program. A handler, unlike ignoring
// Ctrl+C, is not passed on to the program.
BOOL WINAPI PomijajZdarzenie(DWORD) { return TRUE; }

int Uruchom(UINT stronaKodowa, const std::wstring& przerwijPo,
            const std::vector<std::wstring>& polecenie) {
    // A console of the robot's own, which outlives the program, so that its screen can be read
    // after the program's end. Under Wine a program started with pipes already has a console
    // without a screen, and AllocConsole refuses until it is left.
    FreeConsole();
    if (!AllocConsole()) {
        Wypisz("blad AllocConsole " + std::to_string(GetLastError()));
        return 1;
    }
    const HANDLE wejscie = OtworzKonsole(L"CONIN$");
    const HANDLE ekran = OtworzKonsole(L"CONOUT$");
    CONSOLE_SCREEN_BUFFER_INFO opis{};
    if (!GetConsoleScreenBufferInfo(ekran, &opis) || opis.dwSize.X == 0) {
        Wypisz("blad konsola bez ekranu (DISPLAY?)");
        return 1;
    }
    SetConsoleScreenBufferSize(ekran, RozmiarEkranu);
    if (stronaKodowa != 0 && !SetConsoleOutputCP(stronaKodowa)) {
        Wypisz("blad SetConsoleOutputCP " + std::to_string(GetLastError()));
        return 1;
    }
    const UINT stronaPrzed = GetConsoleOutputCP();

    std::wstring wierszPolecen;
    for (const std::wstring& argument : polecenie)
        wierszPolecen += (wierszPolecen.empty() ? L"" : L" ") + Argument(argument);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = wejscie;
    start.hStdOutput = ekran;
    start.hStdError = ekran;
    PROCESS_INFORMATION proces{};
    if (!CreateProcessW(nullptr, wierszPolecen.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &proces)) {
        Wypisz("blad CreateProcessW " + std::to_string(GetLastError()));
        return 1;
    }
    SetConsoleCtrlHandler(PomijajZdarzenie, TRUE);
    const DWORD poczatek = GetTickCount();
    if (!przerwijPo.empty()) {
        while (!Pokazuje(ekran, przerwijPo) && GetTickCount() - poczatek < LimitPrzebiegu &&
               WaitForSingleObject(proces.hProcess, 50) == WAIT_TIMEOUT) {
        }
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    }
    DWORD kod = 0;
    const DWORD uplynelo = GetTickCount() - poczatek;
    if (WaitForSingleObject(proces.hProcess, uplynelo < LimitPrzebiegu ? LimitPrzebiegu - uplynelo
                                                                       : 0) == WAIT_OBJECT_0) {
        GetExitCodeProcess(proces.hProcess, &kod);
        Wypisz("kod\t" + std::to_string(kod));
    } else {
        TerminateProcess(proces.hProcess, 1);
        Wypisz("kod\t-1");
    }
    CloseHandle(proces.hThread);
    CloseHandle(proces.hProcess);
    Wypisz("strona-kodowa\t" + std::to_string(stronaPrzed) + "\t" +
           std::to_string(GetConsoleOutputCP()));

    for (const std::wstring& wiersz : Wiersze(ekran)) Wypisz("wiersz\t" + NaUtf8(wiersz));
    return 0;
}

int Wersja(const std::wstring& program) {
    DWORD uchwyt = 0;
    const DWORD rozmiar = GetFileVersionInfoSizeW(program.c_str(), &uchwyt);
    std::vector<char> dane(rozmiar);
    if (rozmiar == 0 || !GetFileVersionInfoW(program.c_str(), 0, rozmiar, dane.data())) {
        Wypisz("blad GetFileVersionInfoW " + std::to_string(GetLastError()));
        return 1;
    }
    for (const wchar_t* nazwa :
         {L"FileDescription", L"FileVersion", L"ProductName", L"ProductVersion"}) {
        void* wartosc = nullptr;
        UINT dlugosc = 0;
        const std::wstring klucz = std::wstring(L"\\StringFileInfo\\041504B0\\") + nazwa;
        const bool jest =
            VerQueryValueW(dane.data(), klucz.c_str(), &wartosc, &dlugosc) && dlugosc > 0;
        Wypisz(NaUtf8(nazwa) + "\t" +
               (jest ? NaUtf8(static_cast<const wchar_t*>(wartosc)) : std::string("(brak)")));
    }
    void* stala = nullptr;
    UINT dlugosc = 0;
    if (VerQueryValueW(dane.data(), L"\\", &stala, &dlugosc) &&
        dlugosc >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* opis = static_cast<const VS_FIXEDFILEINFO*>(stala);
        Wypisz("stala\t" + std::to_string(HIWORD(opis->dwFileVersionMS)) + "." +
               std::to_string(LOWORD(opis->dwFileVersionMS)) + "." +
               std::to_string(HIWORD(opis->dwFileVersionLS)) + "." +
               std::to_string(LOWORD(opis->dwFileVersionLS)));
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wyniki = GetStdHandle(STD_OUTPUT_HANDLE);
    const std::vector<std::wstring> argumenty(argv + 1, argv + argc);
    const auto strona = [&] {
        return static_cast<UINT>(std::wcstoul(argumenty[1].c_str(), nullptr, 10));
    };
    if (argumenty.size() >= 3 && argumenty[0] == L"uruchom")
        return Uruchom(strona(), {}, {argumenty.begin() + 2, argumenty.end()});
    if (argumenty.size() >= 4 && argumenty[0] == L"przerwij")
        return Uruchom(strona(), argumenty[2], {argumenty.begin() + 3, argumenty.end()});
    if (argumenty.size() == 2 && argumenty[0] == L"wersja") return Wersja(argumenty[1]);
    Wypisz(
        "blad argumenty: uruchom CP PROGRAM [ARG...] | przerwij CP TEXT PROGRAM [ARG...] | "
        "wersja PROGRAM");
    return 2;
}
