// The full-size mode: the measured figures of the real packages, with every convention the
// samples keep.

#include <gtest/gtest.h>

#include <stdexcept>

#include "GeneratorPakietow.h"
#include "KonwencjePakietu.h"

using namespace generator;

namespace {

struct Zmierzone {
    const char* wersja;
    Figury figury;
};

// Measured on the real packages: one package with bare CRs, one without.
const Zmierzone Tabela[] = {
    {"8.1.0.0",
     {.bajty = 9649754,
      .wiersze = 254568,
      .samotneCR = 912,
      .separatoryGO = 2254,
      .separatorygo = 286,
      .partie = 2540,
      .partieZSzyfrowaniem = 1196,
      .partieZGeneracja = 0,
      .procedury = 1090,
      .funkcje = 48,
      .wyzwalacze = 57}},
    {"11.5.0.6",
     {.bajty = 10676002,
      .wiersze = 288411,
      .samotneCR = 0,
      .separatoryGO = 2790,
      .separatorygo = 92,
      .partie = 2882,
      .partieZSzyfrowaniem = 1400,
      .partieZGeneracja = 115,
      .procedury = 1259,
      .funkcje = 79,
      .wyzwalacze = 61}},
};

TEST(PakietPelny, OdtwarzaZmierzoneFiguryIKonwencje) {
    for (const Zmierzone& z : Tabela) {
        SCOPED_TRACE(z.wersja);
        const Pakiet p(z.wersja, GenerujPakiet(z.wersja, RozmiarPakietu::Pelny));
        const Figury f = Zmierz(p.bajty);
        const Figury& o = z.figury;
        EXPECT_NEAR(f.bajty, o.bajty, o.bajty / 50);
        EXPECT_EQ(f.wiersze, o.wiersze);
        EXPECT_EQ(f.samotneCR, o.samotneCR);
        EXPECT_EQ(f.separatoryGO, o.separatoryGO);
        EXPECT_EQ(f.separatorygo, o.separatorygo);
        EXPECT_EQ(f.partie, o.partie);
        EXPECT_EQ(f.partieZSzyfrowaniem, o.partieZSzyfrowaniem);
        EXPECT_EQ(f.partieZGeneracja, o.partieZGeneracja);
        EXPECT_EQ(f.procedury, o.procedury);
        EXPECT_EQ(f.funkcje, o.funkcje);
        EXPECT_EQ(f.wyzwalacze, o.wyzwalacze);
        // The dictionary generator is the largest batch; 16 to 18 batches exceed 64 kB.
        EXPECT_GE(f.najwiekszaPartia, 492950u);
        EXPECT_LE(f.najwiekszaPartia, 509946u);
        EXPECT_GE(f.wierszeNajwiekszejPartii, 5740u);
        EXPECT_LE(f.wierszeNajwiekszejPartii, 5830u);
        EXPECT_GE(f.partiePonad64k, 16);
        EXPECT_LE(f.partiePonad64k, 18);

        SprawdzBajtyIKonceWierszy(p);
        SprawdzPartieOtwierajaca(p);
        SprawdzPartieZamykajaca(p);
        SprawdzSeparatoryIPartie(p);
        SprawdzZnacznikiSzyfrowania(p);
        SprawdzZnacznikiGeneracji(p);
        SprawdzFunkcjeWersjiSerwera(p);
        SprawdzSekcje(p);
        SprawdzObiektySesjiIWzorca(p);
    }
}

TEST(GeneratorPakietow, OdrzucaWersjeSpozaKatalogu) {
    for (const char* wersja : {"7.12.0.7", "8.1.0", "08.1.0.0", "11.5.0.7", ""}) {
        SCOPED_TRACE(wersja);
        EXPECT_THROW(GenerujPakiet(wersja, RozmiarPakietu::Probny), std::invalid_argument);
        EXPECT_THROW(GenerujPakiet(wersja, RozmiarPakietu::Pelny), std::invalid_argument);
    }
}

}  // namespace
