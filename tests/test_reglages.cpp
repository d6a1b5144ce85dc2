// The settings file: every value both ways, bad values, unknown keys, files
// that cannot be read or written. No display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "reglages.h"

namespace {

namespace fs = std::filesystem;

// Lines written on standard error while f runs.
long lignesErreur(const std::function<void()>& f)
{
    testing::internal::CaptureStderr();
    f();
    const std::string texte = testing::internal::GetCapturedStderr();
    return std::count(texte.begin(), texte.end(), '\n');
}

// Every record both ways; a bad value puts its own setting back to the default
// with one line; unknown keys, comments and lines without "=" change nothing.
TEST(Reglages, TexteDansLesDeuxSensEtValeursInvalides)
{
    for (int32_t n = 0; n < 72; ++n) {
        const Reglages ecrits{n % 2, n / 2 % 2, n / 4 % 3, n / 12 % 2, n / 24};
        Reglages lus{1 - n % 2, 1 - n / 2 % 2, (n / 4 + 1) % 3, 1 - n / 12 % 2, (n / 24 + 1) % 3};
        EXPECT_EQ(lignesErreur([&] { litReglages(texteReglages(&ecrits), &lus, "essai"); }), 0);
        EXPECT_EQ(lus, ecrits) << texteReglages(&ecrits);
    }
    // A bad value gets its own default: off for the coach, on for the sound.
    const std::pair<const char*, Reglages> cas[] = {
        {"conseil=2", {0, 1, FENETRE_X2, 0, 1}}, {"conseil=", {0, 1, FENETRE_X2, 0, 1}},
        {"memeMise=oui", {1, 0, FENETRE_X2, 0, 1}}, {"fenetre=3", {1, 1, FENETRE_X1, 0, 1}},
        {"fenetre=1,5", {1, 1, FENETRE_X1, 0, 1}}, {"fenetre=2.0", {1, 1, FENETRE_X1, 0, 1}},
        {"son=non", {1, 1, FENETRE_X2, 1, 1}}, {"animations=lentes", {1, 1, FENETRE_X2, 0, ANIMATIONS_NORMALES}}};
    for (const auto& [ligne, attendu] : cas) {
        Reglages r{1, 1, FENETRE_X2, 0, 1};
        EXPECT_EQ(lignesErreur([&] { litReglages(ligne, &r, "essai"); }), 1) << ligne;
        EXPECT_EQ(r, attendu) << ligne;
    }
    Reglages r{};
    EXPECT_EQ(lignesErreur([&] { litReglages("# x\ncouleur=rouge\nsans egal\n fenetre = 1.5\r\nconseil=1", &r, "e"); }), 0);
    EXPECT_EQ(r, (Reglages{1, 0, FENETRE_X1_5, 1, ANIMATIONS_NORMALES}));
    EXPECT_EQ(texteReglages(&r), "conseil=1\nmemeMise=0\nfenetre=1.5\nson=1\nanimations=normales\n");
}

// Written then read back; absent, a directory or too large: every default,
// with one line but when absent; a directory that cannot be made: one line.
TEST(Reglages, FichierIllisibleOuImpossibleAEcrire)
{
    const fs::path chemin = cheminReglages();  // in the test's own home
    Reglages r{1, 1, FENETRE_X2};
    const Reglages ecrits{1, 0, FENETRE_X1_5};
    EXPECT_EQ(lignesErreur([&] { chargeReglages(&r); }), 0);
    EXPECT_EQ(r, Reglages{});
    ASSERT_TRUE(enregistreReglages(&ecrits));
    chargeReglages(&r);
    EXPECT_EQ(r, ecrits);
    for (bool enDossier : {true, false}) {
        fs::remove_all(chemin);
        enDossier ? void(fs::create_directory(chemin)) : void(std::ofstream(chemin) << std::string(5000, '#'));
        EXPECT_EQ(lignesErreur([&] { chargeReglages(&r); }), 1);
        EXPECT_EQ(r, Reglages{});
    }
    setenv("XDG_CONFIG_HOME", (chemin / "dessous").c_str(), 1);  // under a file
    EXPECT_EQ(lignesErreur([&] { EXPECT_FALSE(enregistreReglages(&ecrits)); }), 1);
}

}  // namespace
