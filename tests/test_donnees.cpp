// Broken game data: each case damages a copy of the data directory, opens the
// window there and plays one whole scripted hand (start, chip, Help, deal,
// holds, draw, About, replay, Escape) on the dummy display. The hand must be
// played and the game end as with sound data, and nothing unreadable be drawn:
// the last frame must be that of the same hand on a copy where each damaged
// file is a 1x1 magenta bitmap, but for those magenta pixels.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analyseCarte.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"
#include "scenario.h"

namespace fs = std::filesystem;

// The leak checker's switches, present in sanitized builds only.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace {

constexpr uint32_t GRAINE = 20261206;
const fs::path donnees = VELMORA_DONNEES;

using Octets = std::string;
using Degat = Octets (*)(Octets);

template <size_t decalage, int32_t valeur, size_t largeur = 4>
Octets champ(Octets o)
{
    for (size_t i = 0; i < largeur && decalage + i < o.size(); ++i) o[decalage + i] = char(valeur >> 8 * i);
    return o;
}

// Each damage meets another failure of the file's reader (a null one removes
// the file). It is done to every picture at once, to the Help button's alone
// (each load of a giant one allocates hundreds of MB), to the font or to the
// icon. BMP header: data offset at 10, width at 18, height at 22, depth at 28.
enum Cible { IMAGES = 1, AIDE_SEULE = 2, POLICE = 4, ICONE = 8 };
struct SorteDegat { const char* nom; Degat applique; int cibles; };
constexpr SorteDegat degats[] = {
    {"absent", nullptr, POLICE | ICONE},
    {"vide", [](Octets) { return Octets(); }, IMAGES | POLICE | ICONE},
    {"tronque", [](Octets o) { return o.substr(0, o.size() / 2); }, IMAGES | ICONE},
    {"entete_tronque", [](Octets o) { return o.substr(0, 20); }, IMAGES | POLICE},
    {"aleatoire", [](Octets o) { std::mt19937 alea(GRAINE); for (char& c : o) c = char(alea()); return o; },
     IMAGES | POLICE | ICONE},
    {"largeur_negative", champ<18, -872>, IMAGES},
    {"hauteur_minimale", champ<22, INT32_MIN>, IMAGES},
    {"hauteur_100000", champ<22, 100000>, AIDE_SEULE},
    {"profondeur_77", champ<28, 77, 2>, IMAGES},
    {"decalage_hors_fichier", champ<10, 0x7fffffff>, IMAGES},
};

struct Cas { std::string nom; std::vector<std::string> fichiers; Degat degat; };  // files under the data directory
void PrintTo(const Cas& cas, std::ostream* sortie) { *sortie << cas.nom; }

std::vector<Cas> tousLesCas()
{
    std::vector<std::string> images;
    for (const auto& f : fs::recursive_directory_iterator(donnees / "image"))
        if (f.path().extension() == ".bmp") images.push_back(fs::relative(f.path(), donnees).string());
    std::vector<Cas> cas = {{"sans_dossier_image", images, nullptr}};
    for (const std::string& f : images) {
        std::string nom = "manque_" + f.substr(6, f.size() - 10);
        std::replace(nom.begin(), nom.end(), '/', '_');
        cas.push_back({nom, {f}, nullptr});
    }
    const struct { Cible cible; std::string prefixe; std::vector<std::string> fichiers; } cibles[] = {
        {IMAGES, "images_", images},
        {AIDE_SEULE, "aide_", {"image/bouton/boutonAideUp.bmp"}},
        {POLICE, "police_", {"arial.ttf"}},
        {ICONE, "icone_", {"image/icon.png"}}};
    for (const auto& [cible, prefixe, fichiers] : cibles)
        for (const SorteDegat& d : degats)
            if (d.cibles & cible) cas.push_back({prefixe + d.nom, fichiers, d.applique});
    return cas;
}

// Red, green and blue only: blended text leaves bits in the unused byte.
std::vector<Uint32> image(SDL_Surface* s)
{
    std::vector<Uint32> pixels(static_cast<Uint32*>(s->pixels), static_cast<Uint32*>(s->pixels) + s->h * s->pitch / 4);
    for (Uint32& p : pixels) p &= s->format->Rmask | s->format->Gmask | s->format->Bmask;
    return pixels;
}

// The game's records after the hand and after Escape, and the hand's last frame.
struct Partie {
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien, etatApresMain = 0, credit = 0, gain = 0;
    std::vector<Uint32> image;
};

Partie joueMain(SDL_Surface* ecran, const fs::path& dossier)
{
    fs::current_path(dossier);
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique stats[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    Partie p;
    initJeu(cartes, &sabot, &mainJoueur, &defausse, stats, GRAINE);
    SDL_FillRect(ecran, nullptr, 0);
    for (Point b : {NOUVELLE_PARTIE, JETON_10, AIDE, RETOUR, DISTRIBUER, garder(1), garder(3), DISTRIBUER, APROPOS,
                    RETOUR, DISTRIBUER})
        clic(b);
    pousseTouche(SDLK_ESCAPE);  // read by the next pass, once the hand is over
    const auto passe = [&] {
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, stats, &etatSurface, &p.etat, &p.continuer, &p.combinaison);
    };
    passe();
    p.image = image(ecran);
    p.etatApresMain = p.etat, p.credit = stats[credit].valeur, p.gain = stats[gain].valeur;
    passe();
    return p;
}

class DonneesAbimees : public testing::TestWithParam<Cas> {};

TEST_P(DonneesAbimees, LaMainSeJoueEtRienDIllisibleNEstDessine)
{
    const Cas& cas = GetParam();
    const std::string copie = testing::TempDir() + "velmora-" + std::to_string(getpid());
    const fs::path abime = copie + "-abime", marque = copie + "-marque";
    for (const fs::path& d : {abime, marque}) fs::remove_all(d), fs::copy(donnees, d, fs::copy_options::recursive);
    if (cas.nom == "sans_dossier_image") fs::remove_all(abime / "image");
    EXPECT_TRUE(cas.nom != "sans_dossier_image" || cas.fichiers.size() == 127u) << "pictures in " << donnees;
    SDL_Surface* point = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, 0xff0000, 0xff00, 0xff, 0);
    SDL_FillRect(point, nullptr, 0xff00ff);
    for (const std::string& f : cas.fichiers) {
        std::ifstream lu(abime / f, std::ios::binary);
        const Octets octets(std::istreambuf_iterator<char>(lu), {});
        fs::remove(abime / f);
        if (cas.degat != nullptr) std::ofstream(abime / f, std::ios::binary) << cas.degat(octets);
        SDL_SaveBMP(point, (marque / f).c_str());
    }
    SDL_FreeSurface(point);
    fs::current_path(abime);
    gardeTemps(60);  // slower under the sanitizers
    SDL_Surface* icone = nullptr;
    if (__lsan_disable) __lsan_disable();  // the compatibility layer never frees the video mode's records
    SDL_Surface* ecran = initFenetre(&icone);
    if (__lsan_enable) __lsan_enable();
    EXPECT_EQ(icone != nullptr, cas.nom != "sans_dossier_image" && !cas.nom.starts_with("icone_"));

    const Partie p = joueMain(ecran, abime);
    EXPECT_EQ(p.etatApresMain, ETAT_MISE) << "the hand is played to the end";
    EXPECT_EQ(p.gain, multiplicateurs.at(p.combinaison) * 10);
    EXPECT_EQ(p.credit, CREDIT_INITIAL - 10 + p.gain);
    EXPECT_TRUE(p.etat == ETAT_QUITTER && p.continuer == -1) << "Escape ends the game";
    if (cas.nom.starts_with("police_")) {
        // The betting screen left by Escape shows no counter: drawing its panel again changes nothing.
        const std::vector<Uint32> avant = image(ecran);
        fs::current_path(donnees);
        affichageBackTexte(ecran);
        EXPECT_TRUE(image(ecran) == avant) << "text drawn without a font";
    }

    const std::vector<Uint32> attendue = joueMain(ecran, marque).image;
    const Uint32 magenta = SDL_MapRGB(ecran->format, 255, 0, 255);
    size_t ecarts = 0;
    for (size_t i = 0; i < attendue.size(); ++i) ecarts += p.image[i] != attendue[i] && attendue[i] != magenta;
    EXPECT_EQ(ecarts, 0u) << "pixels drawn in place of an unreadable file, or other pictures left out";

    SDL_FreeSurface(icone);
    SDL_Quit();
    for (const fs::path& d : {abime, marque}) fs::remove_all(d);
}

INSTANTIATE_TEST_SUITE_P(Cas, DonneesAbimees, testing::ValuesIn(tousLesCas()),
                         [](const testing::TestParamInfo<Cas>& info) { return info.param.nom; });

}  // namespace
