#pragma once
// The run journal: one line per event of the program (start and end, each log-in, the question and
// its answer, the update flag, each package started, committed or rolled back, the run's end),
// appended to a file that outlives the program, so that an administrator can show afterwards which
// packages were applied, when, by whom, how long each took and what the server answered.
//
// A line: local time with its offset (ISO 8601, milliseconds), the program's version, the process
// id, server, database and login, the event's name, then its fields as name="value". Values are
// UTF-8 with backslash, quote and every control character escaped (\\ \" \r \n \t \xNN), so an
// entry stays one line and reads back exactly (OdczytajWartosc). Never the password or the
// connection string: nothing here takes them.
//
// The journal never changes a run: a write that fails is remembered (BladZapisu) and every later
// write is still tried. Each entry is one write to a file opened for appending, so two programs at
// once never interleave parts of lines; past the size limit the file is renamed to dziennik.1.log
// (replacing an older one) and a new one is started.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zuv {

// $XDG_STATE_HOME/aktualizacja-zuv/dziennik.log (~/.local/state/... when the variable is unset)
// on Linux, %LOCALAPPDATA%\aktualizacja-zuv\dziennik.log on Windows; empty when neither the
// variable nor the home folder is known.
std::string SciezkaDziennika();

// The escaped form of a value, and back. OdczytajWartosc(Zakoduj(x)) == x for every x.
std::string ZakodujWartosc(std::string_view wartosc);
std::string OdczytajWartosc(std::string_view zakodowana);

class Dziennik {
  public:
    static constexpr std::uint64_t DomyslnyLimit = std::uint64_t{10} * 1024 * 1024;

    using Pole = std::pair<std::string_view, std::string>;

    // `sciezka` empty: a journal that writes nothing (and reports nothing).
    explicit Dziennik(std::string sciezka, std::uint64_t limitBajtow = DomyslnyLimit);

    // The server, database and login the next lines name ("-" until set).
    void UstawSesje(std::string serwer, std::string baza, std::string login);
    // Appends one line; never throws. Any thread.
    void Zapisz(std::string_view zdarzenie, std::initializer_list<Pole> pola = {});

    const std::string& Sciezka() const noexcept { return sciezka_; }
    // The first failure to write: a Polish sentence naming the file and the system's reason.
    std::optional<std::string> BladZapisu() const;
    // The failure, once: gives it and forgets that it was not yet told.
    std::optional<std::string> BladDoZgloszenia();

  private:
    void Dopisz(const std::string& linia);

    std::string sciezka_;
    std::uint64_t limit_;
    mutable std::mutex blokada_;
    std::string serwer_ = "-";
    std::string baza_ = "-";
    std::string login_ = "-";
    std::optional<std::string> blad_;
    bool zgloszony_ = false;
};

}  // namespace zuv
