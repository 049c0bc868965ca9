// The real message boxes: caption, text, icon and buttons by the style, the answer by the button
// pressed, the box over and centred on the main window, and every word of a long text inside it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt/OknaKomunikatowQt.h"

using namespace zuv;

namespace {

// Runs `obsluga` on the box once it is open; the handler must close it.
int PokazIObsluz(OknaKomunikatowQt& komunikaty, const std::string& tekst, int styl,
                 std::function<void(QDialog&)> obsluga) {
    QTimer::singleShot(0, [&] {
        auto* okno = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (okno == nullptr) {
            ADD_FAILURE() << "no message box open";
            return;
        }
        obsluga(*okno);
    });
    return komunikaty.Pokaz(tekst, "Tytuł", styl);
}

QPushButton* Przycisk(QDialog& okno, const char* tekst) {
    for (auto* przycisk : okno.findChildren<QPushButton*>())
        if (przycisk->text() == QString::fromUtf8(tekst)) return przycisk;
    return nullptr;
}

QStringList Przyciski(QDialog& okno) {
    QStringList teksty;
    for (auto* przycisk : okno.findChildren<QPushButton*>()) teksty << przycisk->text();
    teksty.sort();
    return teksty;
}

}  // namespace

TEST(OknaKomunikatowQt, StyleGivesIconAndButtonsAndTheAnswerIsTheButtonPressed) {
    const struct {
        int styl;
        QStyle::StandardPixmap ikona;
        QStringList przyciski;
        const char* naciskany;  // nullptr: Escape
        int odpowiedz;
    } przypadki[] = {
        {16, QStyle::SP_MessageBoxCritical, {"OK"}, "OK", OdpowiedzKomunikatu::Ok},
        {48, QStyle::SP_MessageBoxWarning, {"OK"}, "OK", OdpowiedzKomunikatu::Ok},
        {64, QStyle::SP_MessageBoxInformation, {"OK"}, nullptr, OdpowiedzKomunikatu::Ok},
        {68, QStyle::SP_MessageBoxInformation, {"Nie", "Tak"}, "Tak", OdpowiedzKomunikatu::Tak},
        {68, QStyle::SP_MessageBoxInformation, {"Nie", "Tak"}, "Nie", OdpowiedzKomunikatu::Nie},
        {68, QStyle::SP_MessageBoxInformation, {"Nie", "Tak"}, nullptr, OdpowiedzKomunikatu::Nie},
    };
    OknaKomunikatowQt komunikaty;
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.styl) + " " + (p.naciskany ? p.naciskany : "Escape"));
        const int odpowiedz =
            PokazIObsluz(komunikaty, "Zażółć gęślą jaźń", p.styl, [&](QDialog& okno) {
                EXPECT_EQ(okno.windowTitle(), QString::fromUtf8("Tytuł"));
                EXPECT_EQ(okno.findChild<QLabel*>("tekst")->text(),
                          QString::fromUtf8("Zażółć gęślą jaźń"));
                const QImage oczekiwana =
                    okno.style()->standardIcon(p.ikona, nullptr, &okno).pixmap(32).toImage();
                EXPECT_EQ(okno.findChild<QLabel*>("ikona")->pixmap().toImage(), oczekiwana);
                EXPECT_EQ(Przyciski(okno), p.przyciski);
                EXPECT_TRUE(Przycisk(okno, p.przyciski.size() == 1 ? "OK" : "Tak")->isDefault());
                if (p.naciskany != nullptr)
                    Przycisk(okno, p.naciskany)->click();
                else
                    QTest::keyClick(&okno, Qt::Key_Escape);
            });
        EXPECT_EQ(odpowiedz, p.odpowiedz);
    }
}

TEST(OknaKomunikatowQt, TheBoxBelongsToTheMainWindowAndIsCentredOnIt) {
    QWidget glowne;
    glowne.setGeometry(322, 124, 642, 523);
    glowne.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&glowne));
    QWidget inne;  // active when the box comes up, as after a long run
    inne.setGeometry(0, 0, 200, 100);
    inne.show();
    inne.activateWindow();
    OknaKomunikatowQt komunikaty;
    komunikaty.UstawOknoGlowne(&glowne);
    PokazIObsluz(komunikaty, "Zakończono aktualizację.", 64, [&](QDialog& okno) {
        EXPECT_EQ(okno.parentWidget(), &glowne);
        EXPECT_TRUE(okno.isModal());
        const QPoint roznica = okno.frameGeometry().center() - glowne.frameGeometry().center();
        EXPECT_LE(roznica.manhattanLength(), 4) << roznica.x() << "," << roznica.y();
        okno.accept();
    });
}

// Every line of the box's text fits the label and the box fits the screen; the lines read
// together give back the whole text.
TEST(OknaKomunikatowQt, EveryWordOfALongTextIsInsideTheBoxOnEveryScreen) {
    QString serwera;
    while (serwera.size() < 600)
        serwera += QString::fromUtf8("Nie można wstawić zduplikowanego klucza „ŚRODEK_TRWAŁY” ");
    serwera = serwera.left(600).trimmed();
    const QString slowo = QString(300, QLatin1Char('X'));
    const struct {
        const char* nazwa;
        QString naglowek;
        QString tresc;
        QString lacznik;  // what a break took away
    } teksty[] = {
        {"server message",
         QString::fromUtf8(
             "Błąd aktualizacji bazy do wersji 9.2.0.1 podczas wykonywania operacji 5:"),
         serwera, " "},
        {"one long word", "Tabela:", slowo, ""},
    };
    for (const int ekran : {1024, 1280, 1920, 3840}) {
        for (const auto& t : teksty) {
            SCOPED_TRACE(std::to_string(ekran) + " " + t.nazwa);
            const std::string tekst = (t.naglowek + "\r\n" + t.tresc).toStdString();
            const auto okno = UtworzOknoKomunikatu(tekst, "Tytuł", 16, nullptr, ekran);
            okno->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
            const auto* etykieta = okno->findChild<QLabel*>("tekst");
            const QStringList linie = etykieta->text().split(QLatin1Char('\n'));
            EXPECT_EQ(linie.front(), t.naglowek);  // a line that fits is not broken
            EXPECT_EQ(linie.mid(1).join(t.lacznik), t.tresc);
            for (const QString& linia : linie)
                EXPECT_LE(etykieta->fontMetrics().horizontalAdvance(linia), etykieta->width());
            EXPECT_TRUE(okno->rect().contains(etykieta->geometry()));
            EXPECT_LE(okno->frameGeometry().width(), ekran);
            okno->close();
        }
    }
}

// A text of 90 lines on a screen area 768 pixels high: the text scrolls, the box and its buttons
// lie inside the area, and every line is there to scroll to.
TEST(OknaKomunikatowQt, ATextTallerThanTheScreenScrollsWithTheButtonsInView) {
    QStringList wiersze;
    for (int i = 1; i <= 90; ++i)
        wiersze << QString::fromUtf8("Wiersz %1 komunikatu serwera o środku trwałym.").arg(i);
    const auto okno =
        UtworzOknoKomunikatu(wiersze.join("\r\n").toStdString(), "Tytuł", 16, nullptr, 1024, 768);
    okno->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(okno.get()));
    const auto* przewijanie = okno->findChild<QScrollArea*>("przewijanie");
    ASSERT_NE(przewijanie, nullptr);
    EXPECT_LE(okno->frameGeometry().height(), 768);
    const auto* przycisk = okno->findChild<QPushButton*>();
    EXPECT_TRUE(okno->rect().contains(przycisk->geometry()));
    EXPECT_GT(przewijanie->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(okno->findChild<QLabel*>("tekst")->text().split('\n'), wiersze);
    okno->close();

    // A short text does not scroll.
    const auto krotkie =
        UtworzOknoKomunikatu("Zakończono aktualizację.", "Informacja", 64, nullptr, 1024, 768);
    EXPECT_EQ(krotkie->findChild<QScrollArea*>("przewijanie"), nullptr);
}
