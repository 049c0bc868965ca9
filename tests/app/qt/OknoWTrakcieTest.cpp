// The window through a run whose batch waits on the server: the event loop goes on turning, no
// input acts, and the run's boxes come up over the main window, centred on it. Real boxes,
// answered by a timer as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/qt/Glowna.h"
#include "app/qt/OknaKomunikatowQt.h"
#include "app/qt/PanelInformacyjny.h"
#include "app/qt/SygnalyZakonczenia.h"
#include "db/PolaczenieODBC.h"
#include "tests/app/qt/Srodowisko.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;
using namespace std::chrono_literals;

namespace {

// Requests are numbered from the log-in's version query: the press's query, the update lock, the
// two flag statements, the generation query and the transaction's begin come before the
// package's batches.
constexpr std::uint64_t OpoznionePolecenie = 9;

struct PokazaneOkno {
    QString tekst;
    QWidget* rodzic;
    QPoint przesuniecie;  // of the box's centre from the main window's
};

// Presses "OK" or the chosen answer of a Yes/No box ("Tak" unless told) in every box that comes
// up, recording it first.
class Uzytkownik : public QObject {
  public:
    QString odpowiedz = QStringLiteral("Tak");
    explicit Uzytkownik(QWidget& glowne) : glowne_(glowne) {
        zegar_.setInterval(10);
        connect(&zegar_, &QTimer::timeout, this, [this] { Odpowiedz(); });
        zegar_.start();
    }
    std::vector<PokazaneOkno> pokazane;

  private:
    void Odpowiedz() {
        auto* okno = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (okno == nullptr || !okno->isVisible()) return;
        pokazane.push_back({okno->findChild<QLabel*>("tekst")->text(), okno->parentWidget(),
                            okno->frameGeometry().center() - glowne_.frameGeometry().center()});
        for (auto* przycisk : okno->findChildren<QPushButton*>())
            if (przycisk->text() == odpowiedz || przycisk->text() == "OK") przycisk->click();
    }
    QWidget& glowne_;
    QTimer zegar_;
};

class LicznikMalowania : public QObject {
  public:
    int liczba = 0;
    bool eventFilter(QObject*, QEvent* zdarzenie) override {
        liczba += zdarzenie->type() == QEvent::Paint;
        return false;
    }
};

// Shows the window, logs in to the server and presses "Aktualizuj" (the question answered by the
// caller's Uzytkownik); returns once the server holds the package's batch.
void ZalogujIAktualizuj(TfrmGlowna& okno, SerwerTestowy& serwer) {
    okno.move(50, 30);
    okno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
    auto kontrolka = [&](const char* nazwa) { return okno.findChild<QWidget*>(nazwa); };
    qobject_cast<QLineEdit*>(kontrolka("edbSerwer"))
        ->setText(QString::fromStdString(serwer.Adres()));
    qobject_cast<QLineEdit*>(kontrolka("edbBaza"))->setText("ZUV");
    qobject_cast<QLineEdit*>(kontrolka("edbHaslo"))->setText(QString::fromUtf8("Tajne;1'\""));
    QTest::mouseClick(kontrolka("btnLoguj"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 20000));
    ASSERT_TRUE(KomunikatyTestowe().pokazane.empty()) << KomunikatyTestowe().pokazane[0].tekst;
    QTest::mouseClick(kontrolka("btnAktualizuj"), Qt::LeftButton);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return serwer->journal().size() > OpoznionePolecenie; }, 5000));
}

}  // namespace

TEST(OknoWTrakcie, TheEventLoopTurnsWhileABatchWaitsAndNoInputActs) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    konfiguracja.faults.delays = {{OpoznionePolecenie, 3000ms}};
    SerwerTestowy serwer(konfiguracja);
    KomunikatyTestowe().pokazane.clear();

    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&okno);
    okno.move(50, 30);  // within the offscreen screen of 800 x 600, which boxes are kept inside
    okno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
    auto kontrolka = [&](const char* nazwa) { return okno.findChild<QWidget*>(nazwa); };
    qobject_cast<QLineEdit*>(kontrolka("edbSerwer"))
        ->setText(QString::fromStdString(serwer.Adres()));
    qobject_cast<QLineEdit*>(kontrolka("edbBaza"))->setText("ZUV");
    qobject_cast<QLineEdit*>(kontrolka("edbHaslo"))->setText(QString::fromUtf8("Tajne;1'\""));
    QTest::mouseClick(kontrolka("btnLoguj"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 20000));
    ASSERT_TRUE(KomunikatyTestowe().pokazane.empty()) << KomunikatyTestowe().pokazane[0].tekst;

    okno.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&okno));
    kontrolka("btnAktualizuj")->setFocus();
    Uzytkownik uzytkownik(okno);
    QTest::mouseClick(kontrolka("btnAktualizuj"), Qt::LeftButton);
    // The question, after the version read, answered Tak.
    ASSERT_TRUE(QTest::qWaitFor([&] { return okno.WTrakcieAktualizacji(); }, 20000));
    ASSERT_EQ(uzytkownik.pokazane.size(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return serwer->journal().size() > OpoznionePolecenie; },
                                5000));  // and the log-in

    // The batch is held on the server: timers fire and the window paints meanwhile.
    int takty = 0;
    QTimer zegar;
    QObject::connect(&zegar, &QTimer::timeout, [&] { ++takty; });
    zegar.start(20);
    LicznikMalowania malowanie;
    okno.installEventFilter(&malowanie);
    okno.update();
    QTest::qWait(500);
    EXPECT_GE(takty, 5);  // of some 25, fewer on a loaded machine
    EXPECT_GE(malowanie.liczba, 1);
    auto* pasek = okno.findChild<PanelInformacyjny*>("pnlAktualiacjaInfo");
    EXPECT_TRUE(
        pasek->text().startsWith("11.5.0.6 - Aktualizacja bazy danych: wykonywanie operacji"))
        << pasek->text().toStdString();
    EXPECT_GT(pasek->Wypelnienie(), 0.0);

    // The fields and buttons look disabled for the run's length; "Zamknij" stays, to stop it.
    for (const char* nazwa : {"edbSerwer", "edbHaslo", "btnLoguj", "btnAktualizuj"})
        EXPECT_FALSE(kontrolka(nazwa)->isEnabled()) << nazwa;
    EXPECT_TRUE(kontrolka("btnZamknij")->isEnabled());

    // Buttons and Enter do nothing while the run goes on; "Zamknij" and closing ask whether to
    // stop it, and No leaves it running.
    const std::size_t zadania = serwer->journal().size();
    uzytkownik.odpowiedz = QStringLiteral("Nie");
    QTest::mouseClick(kontrolka("btnLoguj"), Qt::LeftButton);
    QTest::mouseClick(kontrolka("btnAktualizuj"), Qt::LeftButton);
    QTest::mouseClick(kontrolka("btnZamknij"), Qt::LeftButton);
    kontrolka("edbSerwer")->setFocus();
    QTest::keyClick(kontrolka("edbSerwer"), Qt::Key_Return);
    okno.close();
    QTest::qWait(100);
    EXPECT_TRUE(okno.isVisible());
    EXPECT_TRUE(okno.WTrakcieAktualizacji());
    EXPECT_EQ(serwer->journal().size(), zadania);
    ASSERT_EQ(uzytkownik.pokazane.size(), 3u);
    for (const std::size_t i : {1u, 2u})
        EXPECT_TRUE(uzytkownik.pokazane[i].tekst.startsWith(
            QString::fromUtf8("Przerwać aktualizację? Pakiet 11.5.0.6 zostanie wycofany")));

    // The end box over the main window, centred on it; the strip emptied.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WTrakcieAktualizacji(); }, 30000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return uzytkownik.pokazane.size() == 4; }, 5000));
    EXPECT_EQ(uzytkownik.pokazane[3].tekst, QString::fromUtf8("Zakończono aktualizację."));
    for (const auto& pokazane : uzytkownik.pokazane) {
        SCOPED_TRACE(pokazane.tekst.toStdString());
        EXPECT_EQ(pokazane.rodzic, &okno);
        EXPECT_LE(pokazane.przesuniecie.manhattanLength(), 4);
    }
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    // Back as they were, the keyboard with the button that started the run.
    for (const char* nazwa : {"edbSerwer", "edbHaslo", "btnLoguj", "btnAktualizuj", "btnZamknij"})
        EXPECT_TRUE(kontrolka(nazwa)->isEnabled()) << nazwa;
    EXPECT_EQ(okno.focusWidget(), kontrolka("btnAktualizuj"));
    EXPECT_TRUE(pasek->text().isEmpty());
    EXPECT_EQ(pasek->Wypelnienie(), 0.0);
    EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
}

// Closing during a batch the server holds, answered Yes: the batch is cancelled on the server, the
// package rolled back whole, the box tells the version read again, and the window closes.
TEST(OknoWTrakcie, ClosingDuringAHeldBatchAndYesStopsTheRunAndClosesTheWindow) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    konfiguracja.faults.delays = {{OpoznionePolecenie, 60000ms}};
    SerwerTestowy serwer(konfiguracja);
    KomunikatyTestowe().pokazane.clear();

    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&okno);
    Uzytkownik uzytkownik(okno);
    ASSERT_NO_FATAL_FAILURE(ZalogujIAktualizuj(okno, serwer));
    const auto poczatek = std::chrono::steady_clock::now();
    okno.close();  // the stop question, answered Tak
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.isVisible(); }, 20000));
    EXPECT_LT(std::chrono::steady_clock::now() - poczatek, 20s);  // not the minute the batch holds
    ASSERT_EQ(uzytkownik.pokazane.size(), 3u);
    EXPECT_EQ(uzytkownik.pokazane[2].tekst,
              QString::fromUtf8("Aktualizacja przerwana. Baza danych jest w wersji 11.4.0.1."));
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
    EXPECT_FALSE(conn.Otwarte());
    bool uwaga = false;
    for (const auto& wpis : serwer->journal()) uwaga |= wpis.kind == tds::RequestKind::Attention;
    EXPECT_TRUE(uwaga);
    EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
}

// A log-in the server acknowledges late and a version query it answers late: the window goes on
// painting, the strip says what is awaited, input is kept away, and the outcome comes as before.
TEST(OknoWTrakcie, WhileTheServerIsAwaitedTheWindowPaintsAndSaysWhat) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    konfiguracja.faults.login = tds::LoginFault::DelayAck;
    konfiguracja.faults.loginDelay = 1500ms;
    konfiguracja.faults.delays = {{2, 1500ms}};  // the press's version query
    SerwerTestowy serwer(konfiguracja);
    KomunikatyTestowe().pokazane.clear();

    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&okno);
    okno.move(50, 30);
    okno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
    auto kontrolka = [&](const char* nazwa) { return okno.findChild<QWidget*>(nazwa); };
    auto* pasek = okno.findChild<PanelInformacyjny*>("pnlAktualiacjaInfo");
    qobject_cast<QLineEdit*>(kontrolka("edbSerwer"))
        ->setText(QString::fromStdString(serwer.Adres()));
    qobject_cast<QLineEdit*>(kontrolka("edbBaza"))->setText("ZUV");
    qobject_cast<QLineEdit*>(kontrolka("edbHaslo"))->setText(QString::fromUtf8("Tajne;1'\""));
    LicznikMalowania malowanie;
    okno.installEventFilter(&malowanie);

    QTest::mouseClick(kontrolka("btnLoguj"), Qt::LeftButton);
    EXPECT_TRUE(okno.WOczekiwaniu());
    EXPECT_EQ(pasek->text().toStdString(), "Logowanie do serwera " + serwer.Adres() + "...");
    EXPECT_FALSE(kontrolka("btnLoguj")->isEnabled());
    okno.update();
    QTest::qWait(500);
    EXPECT_GE(malowanie.liczba, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 20000));
    EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
    EXPECT_TRUE(pasek->text().isEmpty());
    EXPECT_TRUE(kontrolka("btnLoguj")->isEnabled());
    EXPECT_TRUE(
        qobject_cast<QLabel*>(kontrolka("labAktualnaWersja"))->text().endsWith(": 11.4.0.1"));

    Uzytkownik uzytkownik(okno);
    uzytkownik.odpowiedz = QStringLiteral("Nie");
    QTest::mouseClick(kontrolka("btnAktualizuj"), Qt::LeftButton);
    EXPECT_EQ(pasek->text().toStdString(), "Odczyt wersji bazy...");
    malowanie.liczba = 0;
    okno.update();
    QTest::qWait(500);
    EXPECT_GE(malowanie.liczba, 1);
    EXPECT_TRUE(uzytkownik.pokazane.empty());  // the question comes once the version is read
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 20000));
    ASSERT_EQ(uzytkownik.pokazane.size(), 1u);
    EXPECT_TRUE(uzytkownik.pokazane[0].tekst.startsWith(QString::fromUtf8("Wykonać aktualizację")));
    EXPECT_TRUE(pasek->text().isEmpty());
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
}

// SIGTERM (a logout, a shutdown) during a held batch takes the same stop without the question,
// and without a box after it that nobody may be there to close: the window closes.
TEST(OknoWTrakcie, SigtermDuringAHeldBatchStopsTheRunWithoutAQuestionAndCloses) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.4.0.1";
    konfiguracja.faults.delays = {{OpoznionePolecenie, 60000ms}};
    SerwerTestowy serwer(konfiguracja);
    KomunikatyTestowe().pokazane.clear();

    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&okno);
    SygnalyZakonczenia sygnaly([&] { okno.ZamknijNaZadanieSystemu(); });
    Uzytkownik uzytkownik(okno);
    ASSERT_NO_FATAL_FAILURE(ZalogujIAktualizuj(okno, serwer));
    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.isVisible(); }, 20000));
    ASSERT_EQ(uzytkownik.pokazane.size(), 1u);  // the question of "Aktualizuj" alone
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
    EXPECT_FALSE(conn.Otwarte());
    EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
}

// Closing while the server holds a package's commit, answered Yes: the question does not promise a
// roll back it cannot make, nothing further starts, and the box at the end says what the version
// read back shows: the package committed.
TEST(OknoWTrakcie, ClosingDuringAHeldCommitSaysTheCommitIsUnderWayAndWhatItDid) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = "11.3.0.2";
    // The first package's commit, after its 88 batches (the generation gate lets every one by).
    konfiguracja.faults.delays = {{96, 5000ms}};
    SerwerTestowy serwer(konfiguracja);
    KomunikatyTestowe().pokazane.clear();

    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    komunikaty.UstawOknoGlowne(&okno);
    Uzytkownik uzytkownik(okno);
    ASSERT_NO_FATAL_FAILURE(ZalogujIAktualizuj(okno, serwer));
    const auto zatwierdzanie = [&] {
        for (const auto& wpis : serwer->journal())
            if (wpis.kind == tds::RequestKind::Commit) return true;
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor(zatwierdzanie, 20000));
    ASSERT_TRUE(okno.WOczekiwaniu());
    okno.close();  // the stop question, answered Tak
    ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.isVisible(); }, 20000));
    ASSERT_EQ(uzytkownik.pokazane.size(), 3u);
    // The box wraps its text: read as one line.
    const auto tekst = [&](std::size_t i) {
        return uzytkownik.pokazane[i]
            .tekst.replace(QLatin1Char('\n'), QLatin1Char(' '))
            .toStdString();
    };
    EXPECT_EQ(tekst(1),
              std::string("Przerwać aktualizację? Pakiet 11.4.0.1 jest właśnie zatwierdzany "
                          "i nie da się go już wycofać; następne pakiety nie zostaną "
                          "rozpoczęte, a po zatwierdzeniu program odczyta wersję zapisaną "
                          "w bazie."));
    EXPECT_EQ(tekst(2), std::string("Aktualizacja przerwana. Baza danych jest w wersji 11.4.0.1. "
                                    "Pakiet 11.4.0.1, zatwierdzany w chwili przerwania, został "
                                    "zatwierdzony."));
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.4.0.1");
    EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
}

// A log-in whose acknowledgement never comes: closing the window, or the system's request to end
// (SIGTERM), ends the program within a second, with exit code 0 and no box, instead of waiting
// for the driver's log-in time-out and then showing its error to nobody.
TEST(OknoWTrakcie, ACloseOrSigtermDuringAHeldLogInEndsTheProgramAtOnceWithNoBox) {
    for (const bool sygnal : {false, true}) {
        SCOPED_TRACE(sygnal ? "SIGTERM" : "close");
        tds::ServerConfig konfiguracja;
        konfiguracja.initVersion = "11.4.0.1";
        konfiguracja.faults.login = tds::LoginFault::DelayAck;
        konfiguracja.faults.loginDelay = 60000ms;
        SerwerTestowy serwer(konfiguracja);
        KomunikatyTestowe().pokazane.clear();

        OknaKomunikatowQt komunikaty;
        PolaczenieODBC conn(2);  // the driver gives up after 2 s, so that the test ends soon
        TfrmGlowna okno(komunikaty, conn);
        komunikaty.UstawOknoGlowne(&okno);
        std::vector<int> kody;
        okno.UstawZakonczenieProcesu([&](int kod) { kody.push_back(kod); });
        SygnalyZakonczenia sygnaly([&] { okno.ZamknijNaZadanieSystemu(); });
        okno.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
        okno.findChild<QLineEdit*>("edbSerwer")->setText(QString::fromStdString(serwer.Adres()));
        okno.findChild<QLineEdit*>("edbBaza")->setText("ZUV");
        QTest::mouseClick(okno.findChild<QWidget*>("btnLoguj"), Qt::LeftButton);
        ASSERT_TRUE(okno.WOczekiwaniu());
        QTest::qWait(200);
        if (sygnal)
            std::raise(SIGTERM);
        else
            okno.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !kody.empty(); }, 1000));
        EXPECT_EQ(kody.front(), 0);
        // Left to its end (here the process goes on), the log-in shows nothing and closes.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.isVisible(); }, 10000));
        EXPECT_TRUE(KomunikatyTestowe().pokazane.empty());
    }
}

// The designed position lies partly off a small screen (here the offscreen screen of 800 x 600):
// the window opens inside the screen's available area.
TEST(OknoWTrakcie, AWindowThatDoesNotFitItsDesignedPositionOpensInsideTheScreen) {
    OknaKomunikatowQt komunikaty;
    PolaczenieODBC conn;
    TfrmGlowna okno(komunikaty, conn);
    okno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
    const QRect dostepny = okno.screen()->availableGeometry();
    EXPECT_TRUE(dostepny.contains(okno.frameGeometry()))
        << okno.frameGeometry().x() << "," << okno.frameGeometry().y() << " "
        << okno.frameGeometry().width() << "x" << okno.frameGeometry().height();
}
