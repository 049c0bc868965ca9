// The checks before a run through the real driver, each query against a server of each generation
// the program supports: the warnings each finding gives, and what the login may not see or the
// server refuses left out of them and said for the journal.
#include <gtest/gtest.h>

#include <functional>

#include "app/usluga/KontrolaBazy.h"
#include "db/PolaczenieODBC.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

const std::string SesjeJanaIEwy =
    "W bazie pracują inne sesje (2): jan (KSIEG-01, ZUV Środki, bezczynna 12 min), ewa (SSMS, "
    "bezczynna 45 s); aktualizacja może czekać na ich blokady.";
const std::string BezKopii =
    "Serwer nie ma zapisu żadnej pełnej kopii zapasowej bazy ZUV; przed aktualizacją wykonaj "
    "kopię bazy.";
const std::string BezPraw =
    "Login sa nie jest właścicielem bazy ZUV ani członkiem jej roli db_owner lub roli sysadmin, "
    "a pakiety tworzą i zmieniają obiekty bazy; aktualizacja może się nie powieść w trakcie "
    "pakietu (zostanie wtedy wycofana w całości).";

}  // namespace

TEST(KontrolaNaSerwerach, EachCheckOnEachGeneration) {
    using K = tds::ServerConfig;
    const struct {
        const char* nazwa;
        std::function<void(K&)> ustaw;
        std::vector<std::string> ostrzezenia;
        std::size_t niesprawdzone;
        bool na2000Inaczej;  // 2000 shows every process whatever the login's rights
    } przypadki[] = {
        {"nothing to warn of", [](K&) {}, {}, 0, false},
        {"two other sessions, one system task",
         [](K& k) {
             k.otherSessions = {{53, "jan", "KSIEG-01", "ZUV Środki", 754},
                                {61, "ewa", "", "SSMS", 45},
                                {7, "sa", "", "", 3}};
         },
         {SesjeJanaIEwy},
         0,
         false},
        {"no right to see other sessions",
         [](K& k) {
             k.otherSessions = {{53, "jan", "KSIEG-01", "ZUV Środki", 754},
                                {61, "ewa", "", "SSMS", 45}};
             k.viewServerState = false;
         },
         {},
         1,
         true},
        {"no backup", [](K& k) { k.backup = tds::BackupHistory::None; }, {BezKopii}, 0, false},
        {"a backup of two days ago",
         [](K& k) { k.backupAge = std::chrono::hours(49); },
         {"*"},
         0,
         false},
        {"the backup history closed",
         [](K& k) { k.backup = tds::BackupHistory::Denied; },
         {},
         1,
         false},
        {"no msdb", [](K& k) { k.backup = tds::BackupHistory::NoMsdb; }, {}, 1, false},
        {"a login without the rights",
         [](K& k) { k.rights = tds::LoginRights::None; },
         {BezPraw},
         0,
         false},
        {"the database's owner", [](K& k) { k.rights = tds::LoginRights::Owner; }, {}, 0, false},
    };
    for (const char* generacja : {"8.00.2039", "9.00.5000.00", "10.50.6000.34", "11.0.7001.0"}) {
        for (const auto& p : przypadki) {
            SCOPED_TRACE(std::string(generacja) + ": " + p.nazwa);
            K konfiguracja;
            konfiguracja.initVersion = "11.3.0.2";
            konfiguracja.productVersion = generacja;
            p.ustaw(konfiguracja);
            SerwerTestowy serwer(konfiguracja);
            PolaczenieODBC polaczenie;
            polaczenie.UstawDaneLogowania(serwer.Logowanie());
            polaczenie.Otworz();
            const KontrolaBazy kontrola = SprawdzBaze(polaczenie);
            const std::vector<std::string> ostrzezenia = kontrola.Ostrzezenia("ZUV", "sa");
            const bool rok2000 = std::string(generacja).rfind("8.", 0) == 0;
            if (p.na2000Inaczej && rok2000) {
                EXPECT_EQ(ostrzezenia, std::vector<std::string>{SesjeJanaIEwy});
                EXPECT_TRUE(kontrola.niesprawdzone.empty());
            } else if (!p.ostrzezenia.empty() && p.ostrzezenia.front() == "*") {
                ASSERT_EQ(ostrzezenia.size(), 1u);
                EXPECT_EQ(ostrzezenia.front().rfind("Ostatnia pełna kopia zapasowa bazy ZUV "
                                                    "pochodzi z ",
                                                    0),
                          0u)
                    << ostrzezenia.front();
            } else {
                EXPECT_EQ(ostrzezenia, p.ostrzezenia);
                EXPECT_EQ(kontrola.niesprawdzone.size(), p.niesprawdzone);
            }
            // Read only: nothing but the four queries reached the server after the log-in.
            EXPECT_EQ(serwer.Partie().size(), p.na2000Inaczej && !rok2000 ? 3u : 4u);
        }
    }
}
