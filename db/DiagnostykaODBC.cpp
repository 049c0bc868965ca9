#include "db/DiagnostykaODBC.h"

namespace zuv {

namespace {

constexpr std::int32_t KodBezOpisu = static_cast<std::int32_t>(0x80004005);  // E_FAIL

bool MaLitere(std::string_view tekst) {
    for (const char znak : tekst)
        if ((znak >= 'a' && znak <= 'z') || (znak >= 'A' && znak <= 'Z')) return true;
    return false;
}

}  // namespace

std::string TekstyRekordow(const std::vector<const RekordDiagnostyki*>& rekordy) {
    std::string opis;
    for (const auto* rekord : rekordy) {
        const std::string tekst = BezPrzedrostkowSterownika(rekord->tekst);
        if (opis.find(tekst) != std::string::npos) continue;
        if (!opis.empty()) opis += "\r\n";
        opis += tekst;
    }
    return opis;
}

std::string BezPrzedrostkowSterownika(std::string_view tekst) {
    // ODBC puts at most three components in front of a message ("[vendor][component][source]").
    // A group without letters, such as "[13000]", belongs to the message itself.
    for (int grupa = 0; grupa < 3 && !tekst.empty() && tekst.front() == '['; ++grupa) {
        const std::size_t koniec = tekst.find(']');
        if (koniec == std::string_view::npos || !MaLitere(tekst.substr(1, koniec - 1))) break;
        tekst.remove_prefix(koniec + 1);
    }
    return std::string(tekst);
}

EOleException BladZDiagnostyki(const std::vector<RekordDiagnostyki>& rekordy,
                               std::string_view sterownik, std::string_view polecenie) {
    const std::string zrodlo = "ODBC " + std::string(sterownik);
    if (rekordy.empty()) {
        // The driver refuses some texts without saying why; the user must still learn what failed.
        std::string opis = "Sterownik ODBC odrzucił polecenie, nie podając przyczyny";
        if (polecenie.find('?') != std::string_view::npos)
            opis +=
                ". Polecenie zawiera znak \"?\" poza literałem i komentarzem, który sterownik "
                "bierze za znacznik parametru";
        return EOleException(opis, KodBezOpisu, zrodlo);
    }
    // Several server errors are all shown, as a log-in into a missing database gives two.
    std::vector<const RekordDiagnostyki*> bledy;
    for (const auto& rekord : rekordy)
        if (rekord.stanSQL.rfind("01", 0) != 0) bledy.push_back(&rekord);
    if (bledy.empty())
        for (const auto& rekord : rekordy) bledy.push_back(&rekord);
    std::vector<const RekordDiagnostyki*> serwera;
    for (const auto* rekord : bledy)
        if (rekord->kod != 0) serwera.push_back(rekord);
    if (!serwera.empty()) bledy = serwera;

    const RekordDiagnostyki& pierwszy = *bledy.front();
    return EOleException(TekstyRekordow(bledy), pierwszy.kod,
                         zrodlo + " SQLSTATE " + pierwszy.stanSQL, {}, 0, pierwszy.stanSQL);
}

}  // namespace zuv
