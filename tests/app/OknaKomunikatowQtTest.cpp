// The real message boxes: caption, text, icon and buttons by the style, the answer by the button
// pressed, and texts that are not broken inside a line that fits the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/OknaKomunikatow.h"

using namespace zuv;

namespace {

// Runs `obsluga` on the box once it is open; the handler must close it by pressing a button.
int PokazIObsluz(const std::string& tekst, int styl, std::function<void(QMessageBox&)> obsluga) {
    QTimer::singleShot(0, [&] {
        auto* okno = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (okno == nullptr) {
            ADD_FAILURE() << "no message box open";
            return;
        }
        obsluga(*okno);
    });
    OknaKomunikatowQt komunikaty;
    return komunikaty.Pokaz(tekst, "Tytuł", styl);
}

QPushButton* Przycisk(QMessageBox& okno, const char* tekst) {
    for (QAbstractButton* przycisk : okno.buttons())
        if (przycisk->text() == QString::fromUtf8(tekst))
            return qobject_cast<QPushButton*>(przycisk);
    return nullptr;
}

}  // namespace

TEST(OknaKomunikatowQt, StyleGivesIconAndButtonsAndTheAnswerIsTheButtonPressed) {
    const struct {
        int styl;
        QMessageBox::Icon ikona;
        QStringList przyciski;
        const char* naciskany;
        int odpowiedz;
    } przypadki[] = {
        {16, QMessageBox::Critical, {"OK"}, "OK", OdpowiedzKomunikatu::Ok},
        {48, QMessageBox::Warning, {"OK"}, "OK", OdpowiedzKomunikatu::Ok},
        {64, QMessageBox::Information, {"OK"}, "OK", OdpowiedzKomunikatu::Ok},
        {68, QMessageBox::Information, {"Tak", "Nie"}, "Tak", OdpowiedzKomunikatu::Tak},
        {68, QMessageBox::Information, {"Tak", "Nie"}, "Nie", OdpowiedzKomunikatu::Nie},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.styl);
        const int odpowiedz = PokazIObsluz("Zażółć gęślą jaźń", p.styl, [&](QMessageBox& okno) {
            EXPECT_EQ(okno.windowTitle(), QString::fromUtf8("Tytuł"));
            EXPECT_EQ(okno.text(), QString::fromUtf8("Zażółć gęślą jaźń"));
            EXPECT_EQ(okno.icon(), p.ikona);
            QStringList teksty;
            for (QAbstractButton* przycisk : okno.buttons()) teksty << przycisk->text();
            teksty.sort();
            QStringList oczekiwane = p.przyciski;
            oczekiwane.sort();
            EXPECT_EQ(teksty, oczekiwane);
            EXPECT_EQ(okno.defaultButton(),
                      Przycisk(okno, p.przyciski.front().toUtf8().constData()));
            Przycisk(okno, p.naciskany)->click();
        });
        EXPECT_EQ(odpowiedz, p.odpowiedz);
    }
}

TEST(OknaKomunikatowQt, EscapeOnAQuestionAnswersNo) {
    const int odpowiedz = PokazIObsluz("Pytanie ?", 68, [](QMessageBox& okno) { okno.reject(); });
    EXPECT_EQ(odpowiedz, OdpowiedzKomunikatu::Nie);
}

TEST(OknaKomunikatowQt, ALineThatFitsTheScreenIsNotBroken) {
    // A first line wider than QMessageBox's own 500-pixel wrap, narrower than the screen.
    const QFontMetrics miara(QApplication::font());
    QString pierwsza = QString::fromUtf8("podczas wykonywania operacji 5:");
    while (miara.horizontalAdvance(pierwsza) < 540) pierwsza.prepend(QString::fromUtf8("bazy "));
    ASSERT_LT(miara.horizontalAdvance(pierwsza), 600);
    const std::string tekst =
        pierwsza.toStdString() + "\r\nNie można utworzyć indeksu – zduplikowany klucz „ŚRODEK”.";
    PokazIObsluz(tekst, 16, [](QMessageBox& okno) {
        auto* etykieta = okno.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(etykieta, nullptr);
        // Two lines of text, not three: the first keeps its "5:".
        EXPECT_LT(etykieta->height(), 3 * etykieta->fontMetrics().lineSpacing());
        Przycisk(okno, "OK")->click();
    });
}
