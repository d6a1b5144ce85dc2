// The settings file: every value both ways, every bad value, unknown keys, and
// files that cannot be read or written. No display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "reglages.h"

namespace {

namespace fs = std::filesystem;

// Lines on standard error while f runs.
template <typename F>
int lignesErreur(F f)
{
    testing::internal::CaptureStderr();
    f();
    const std::string texte = testing::internal::GetCapturedStderr();
    return static_cast<int>(std::count(texte.begin(), texte.end(), '\n'));
}

TEST(Reglages, ChaqueValeurFaitLAllerRetour)
{
    Reglages r;
    initReglages(&r);
    EXPECT_EQ(texteReglages(&r), "conseil=0\nmemeMise=0\nfenetre=1\n");
    for (int32_t conseil : {0, 1})
        for (int32_t memeMise : {0, 1})
            for (int32_t fenetre : {FENETRE_X1, FENETRE_X1_5, FENETRE_X2}) {
                const Reglages ecrits{conseil, memeMise, fenetre};
                Reglages lus{1 - conseil, 1 - memeMise, (fenetre + 1) % 3};
                EXPECT_EQ(lignesErreur([&] { litReglages(texteReglages(&ecrits), &lus, "essai"); }), 0);
                EXPECT_EQ(lus, ecrits) << texteReglages(&ecrits);
            }
}

// A bad value puts its own setting back to the default with one line; the
// others, unknown keys and lines without "=" are left alone silently.
TEST(Reglages, ValeurInvalideDefautEtUneLigne)
{
    const std::pair<const char*, Reglages> cas[] = {
        {"conseil=2", {0, 1, FENETRE_X2}},        {"conseil=", {0, 1, FENETRE_X2}},
        {"conseil=01", {0, 1, FENETRE_X2}},       {"memeMise=oui", {1, 0, FENETRE_X2}},
        {"memeMise=-1", {1, 0, FENETRE_X2}},      {"fenetre=3", {1, 1, FENETRE_X1}},
        {"fenetre=1,5", {1, 1, FENETRE_X1}},      {"fenetre=2.0", {1, 1, FENETRE_X1}},
        {"fenetre=1.5 x", {1, 1, FENETRE_X1}},
    };
    for (const auto& [ligne, attendu] : cas) {
        Reglages r{1, 1, FENETRE_X2};
        EXPECT_EQ(lignesErreur([&] { litReglages(ligne, &r, "essai"); }), 1) << ligne;
        EXPECT_EQ(r, attendu) << ligne;
    }
    Reglages r{};
    const char* texte = "# reglages\ncouleur=rouge\nsans egal\n\n  fenetre = 1.5\r\nconseil=1\nConseil=0\nmemeMise";
    EXPECT_EQ(lignesErreur([&] { litReglages(texte, &r, "essai"); }), 0);
    EXPECT_EQ(r, (Reglages{1, 0, FENETRE_X1_5}));
}

// Through the file itself: written then read back; absent, a directory, too
// large: all defaults; a directory that cannot be made: nothing written, one line.
TEST(Reglages, FichierIllisibleOuImpossibleAEcrire)
{
    const fs::path dossier = fs::path(testing::TempDir()) / "velmora-reglages";
    fs::remove_all(dossier);
    setenv("XDG_CONFIG_HOME", dossier.c_str(), 1);
    const fs::path chemin = dossier / "velmora" / "options";
    EXPECT_EQ(cheminReglages(), chemin.string());
    Reglages r{1, 1, FENETRE_X2};
    EXPECT_EQ(lignesErreur([&] { chargeReglages(&r); }), 0);
    EXPECT_EQ(r, Reglages{});
    const Reglages ecrits{1, 0, FENETRE_X1_5};
    ASSERT_TRUE(enregistreReglages(&ecrits));
    chargeReglages(&r);
    EXPECT_EQ(r, ecrits);

    fs::remove(chemin);
    fs::create_directory(chemin);
    EXPECT_EQ(lignesErreur([&] { chargeReglages(&r); }), 1);
    EXPECT_EQ(r, Reglages{});
    fs::remove(chemin);
    std::ofstream(chemin) << "conseil=1\n" << std::string(5000, '#');
    EXPECT_EQ(lignesErreur([&] { chargeReglages(&r); }), 1);
    EXPECT_EQ(r, Reglages{});

    setenv("XDG_CONFIG_HOME", (chemin / "dessous").c_str(), 1);  // under a file
    EXPECT_EQ(lignesErreur([&] { EXPECT_FALSE(enregistreReglages(&ecrits)); }), 1);
    fs::remove_all(dossier);
}

}  // namespace
