#include "app/qt/OknaKomunikatowQt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "app/qt/ZawijanieTekstu.h"

namespace zuv {

namespace {

constexpr int RozmiarIkony = 32;
// The height of a window frame's title bar and borders, which the screen's area must also hold.
constexpr int ZapasNaRamke = 60;

QStyle::StandardPixmap Ikona(int styl) {
    switch (styl & 0xF0) {
        case StylKomunikatu::IkonaStop:
            return QStyle::SP_MessageBoxCritical;
        case StylKomunikatu::IkonaWykrzyknik:
            return QStyle::SP_MessageBoxWarning;
        case StylKomunikatu::IkonaInformacja:
            return QStyle::SP_MessageBoxInformation;
        default:
            return QStyle::SP_CustomBase;
    }
}

QPushButton* DodajPrzycisk(QDialog& okno, QDialogButtonBox& przyciski, const char* tekst,
                           QDialogButtonBox::ButtonRole rola, int odpowiedz) {
    QPushButton* przycisk = przyciski.addButton(QString::fromUtf8(tekst), rola);
    QObject::connect(przycisk, &QPushButton::clicked, &okno,
                     [&okno, odpowiedz] { okno.done(odpowiedz); });
    return przycisk;
}

}  // namespace

std::unique_ptr<QDialog> UtworzOknoKomunikatu(const std::string& tekst, const std::string& tytul,
                                              int styl, QWidget* rodzic, int szerokoscEkranu,
                                              int wysokoscEkranu) {
    auto okno = std::make_unique<QDialog>(rodzic);
    okno->setWindowTitle(QString::fromStdString(tytul));
    okno->setWindowModality(Qt::ApplicationModal);
    auto* uklad = new QGridLayout(okno.get());
    // Neither the user nor a long text can make the box larger than its content.
    uklad->setSizeConstraint(QLayout::SetFixedSize);

    int szerokoscIkony = 0;
    if (const QStyle::StandardPixmap ikona = Ikona(styl); ikona != QStyle::SP_CustomBase) {
        auto* etykietaIkony = new QLabel(okno.get());
        etykietaIkony->setObjectName(QStringLiteral("ikona"));
        etykietaIkony->setPixmap(
            okno->style()->standardIcon(ikona, nullptr, okno.get()).pixmap(RozmiarIkony));
        uklad->addWidget(etykietaIkony, 0, 0, Qt::AlignTop);
        szerokoscIkony = RozmiarIkony + uklad->horizontalSpacing();
    }

    auto* etykieta = new QLabel(okno.get());
    etykieta->setObjectName(QStringLiteral("tekst"));
    etykieta->setTextFormat(Qt::PlainText);
    // The administrator can copy an error's text from the box.
    etykieta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QMargins marginesy = uklad->contentsMargins();
    const int szerokoscTekstu =
        szerokoscEkranu * 3 / 4 - marginesy.left() - marginesy.right() - szerokoscIkony;
    etykieta->setText(
        ZawinTekst(QString::fromStdString(tekst), szerokoscTekstu, etykieta->fontMetrics())
            .join(QLatin1Char('\n')));

    auto* przyciski = new QDialogButtonBox(okno.get());
    przyciski->setCenterButtons(true);
    QPushButton* domyslny = nullptr;
    if ((styl & 0x0F) == StylKomunikatu::TakNie) {
        domyslny = DodajPrzycisk(*okno, *przyciski, "Tak", QDialogButtonBox::YesRole,
                                 OdpowiedzKomunikatu::Tak);
        QPushButton* nie = DodajPrzycisk(*okno, *przyciski, "Nie", QDialogButtonBox::NoRole,
                                         OdpowiedzKomunikatu::Nie);
        if ((styl & StylKomunikatu::DrugiDomyslny) != 0) domyslny = nie;
        // Escape and the title bar's close answer No, as no box of the program has Cancel.
        QObject::connect(okno.get(), &QDialog::rejected, okno.get(),
                         [o = okno.get()] { o->setResult(OdpowiedzKomunikatu::Nie); });
    } else {
        domyslny = DodajPrzycisk(*okno, *przyciski, "OK", QDialogButtonBox::AcceptRole,
                                 OdpowiedzKomunikatu::Ok);
        QObject::connect(okno.get(), &QDialog::rejected, okno.get(),
                         [o = okno.get()] { o->setResult(OdpowiedzKomunikatu::Ok); });
    }
    domyslny->setDefault(true);
    domyslny->setFocus();
    uklad->addWidget(przyciski, 1, 0, 1, 2);

    // A text taller than the screen allows scrolls; the buttons stay below it, in view. The
    // room kept for them: their height, the layout's margins and spacing, and the frame's title.
    const int wysokoscTekstu = etykieta->sizeHint().height();
    const int najwyzszyTekst = wysokoscEkranu - przyciski->sizeHint().height() - marginesy.top() -
                               marginesy.bottom() - uklad->verticalSpacing() - ZapasNaRamke;
    if (wysokoscEkranu > 0 && wysokoscTekstu > najwyzszyTekst) {
        auto* przewijanie = new QScrollArea(okno.get());
        przewijanie->setObjectName(QStringLiteral("przewijanie"));
        przewijanie->setFrameShape(QFrame::NoFrame);
        przewijanie->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        przewijanie->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        przewijanie->setWidget(etykieta);
        przewijanie->setFixedSize(
            etykieta->sizeHint().width() + przewijanie->verticalScrollBar()->sizeHint().width(),
            std::max(najwyzszyTekst, etykieta->fontMetrics().height()));
        uklad->addWidget(przewijanie, 0, 1, Qt::AlignLeft | Qt::AlignTop);
    } else {
        uklad->addWidget(etykieta, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    return okno;
}

int OknaKomunikatowQt::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    QWidget* rodzic = oknoGlowne_ ? oknoGlowne_.data() : QApplication::activeWindow();
    const QScreen* ekran = rodzic != nullptr ? rodzic->screen() : QApplication::primaryScreen();
    const int szerokoscEkranu = ekran != nullptr ? ekran->availableGeometry().width() : 1024;
    const int wysokoscEkranu = ekran != nullptr ? ekran->availableGeometry().height() : 768;
    const auto okno =
        UtworzOknoKomunikatu(tekst, tytul, styl, rodzic, szerokoscEkranu, wysokoscEkranu);
    okno->exec();
    return okno->result();
}

}  // namespace zuv
