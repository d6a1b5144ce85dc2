// Broken game data: each case copies the real data directory, damages the
// copy, runs the game there on the dummy display and plays one whole scripted
// hand (start, chip, Help, deal, holds, draw, About, replay, then Escape).
// The game must end normally, play the hand as with sound data, and draw
// nothing of what it could not read: the last frame of the hand is compared
// with the same hand played on the sound data.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

namespace {

constexpr uint32_t GRAINE = 20261206;
const fs::path donnees = VELMORA_DONNEES;

using Octets = std::vector<char>;

Octets lit(const fs::path& chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return Octets(std::istreambuf_iterator<char>(f), {});
}

void ecrit(const fs::path& chemin, const Octets& octets)
{
    fs::remove(chemin);
    std::ofstream(chemin, std::ios::binary).write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

void poseEntier(Octets& o, size_t decalage, int64_t valeur, size_t largeur)
{
    for (size_t i = 0; i < largeur && decalage + i < o.size(); ++i) {
        o[decalage + i] = static_cast<char>((valeur >> (8 * i)) & 0xff);
    }
}

Octets aleatoire(size_t taille)
{
    std::mt19937 alea(GRAINE);
    Octets o(taille);
    for (char& c : o) {
        c = static_cast<char>(alea());
    }
    return o;
}

// Ways of breaking one file, each named for the case names. The BMP header
// fields: data offset at 10, header size at 14, width at 18, height at 22,
// bits per pixel at 28, compression at 30, palette size at 46.
struct Degat {
    const char* nom;
    std::function<void(Octets&)> applique;
    bool luParSdl = false;  // SDL's loader still makes a picture of it
    bool lent = false;      // every load allocates some 260 MB: one file only
};

auto champ(size_t decalage, int64_t valeur, size_t largeur = 4)
{
    return [=](Octets& o) { poseEntier(o, decalage, valeur, largeur); };
}

const std::vector<Degat> degatsBmp = {
    {"vide", [](Octets& o) { o.clear(); }},
    {"tronque", [](Octets& o) { o.resize(o.size() / 2); }},
    {"entete_tronque", [](Octets& o) { o.resize(20); }},
    {"octets_aleatoires", [](Octets& o) { o = aleatoire(o.size()); }},
    {"largeur_100000", champ(18, 100000), false, true},
    {"hauteur_100000", champ(22, 100000), false, true},
    {"largeur_negative", champ(18, -872)},
    {"hauteur_minimale", champ(22, INT32_MIN)},
    {"profondeur_77", champ(28, 77, 2)},
    {"compression_99", champ(30, 99), true},
    {"decalage_hors_fichier", champ(10, 0x7fffffff)},
    {"entete_geant", champ(14, 0x7ffffff0), true},
    {"palette_geante",
     [](Octets& o) {
         poseEntier(o, 28, 8, 2);
         poseEntier(o, 46, 0x40000000, 4);
     },
     true},
};

// The colour of every pixel of a 32-bit surface. The screen has no alpha
// channel, but blended text leaves bits in the unused byte that opaque blits
// keep: only red, green and blue count.
std::vector<Uint32> pixels(SDL_Surface* s)
{
    const Uint32 rvb = s->format->Rmask | s->format->Gmask | s->format->Bmask;
    std::vector<Uint32> resultat;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const auto* ligne = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            resultat.push_back(ligne[x] & rvb);
        }
    }
    SDL_UnlockSurface(s);
    return resultat;
}

// The last frame of the hand, and what the game's records said.
struct Partie {
    std::vector<Uint32> image;
    int32_t etatApresMain = 0, etatFinal = 0, continuerFinal = 0;
    int32_t credit = 0, gain = 0, combinaison = 0;
    EtatSurface surface{};
};

// Plays the scripted hand in the current directory on ecran, cleared first.
Partie joueMain(SDL_Surface* ecran)
{
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien;
    initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, GRAINE);
    SDL_FillRect(ecran, nullptr, 0);
    const auto passe = [&] {
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison);
    };
    for (Point p : {NOUVELLE_PARTIE, JETON_10, AIDE, RETOUR, DISTRIBUER, garder(1), garder(3), DISTRIBUER, APROPOS,
                    RETOUR, DISTRIBUER}) {
        clic(p);
    }
    passe();
    Partie partie;
    partie.etatApresMain = etat;
    partie.credit = statistiques[credit].valeur;
    partie.gain = statistiques[gain].valeur;
    partie.combinaison = combinaison;
    partie.surface = etatSurface;
    partie.image = pixels(ecran);
    pousseTouche(SDLK_ESCAPE);
    passe();
    partie.etatFinal = etat;
    partie.continuerFinal = continuer;
    return partie;
}

// A picture of the sound data in the screen's pixel format.
struct Image {
    int w = 0, h = 0;
    std::vector<Uint32> pixels;
    Uint32 operator()(int x, int y) const { return pixels[static_cast<size_t>(y * w + x)]; }
};

Image charge(const std::string& nom, const SDL_PixelFormat* format)
{
    Image image;
    SDL_Surface* brute = SDL_LoadBMP((donnees / nom).c_str());
    SDL_Surface* s = brute != nullptr ? SDL_ConvertSurface(brute, const_cast<SDL_PixelFormat*>(format), SDL_SWSURFACE)
                                      : nullptr;
    if (s != nullptr) {
        image.w = s->w;
        image.h = s->h;
        image.pixels = pixels(s);
    }
    SDL_FreeSurface(s);
    SDL_FreeSurface(brute);
    return image;
}

struct Place {
    std::string fichier;
    int x, y;
};

// What the last frame of the hand shows, in drawing order, from the record.
std::vector<Place> placesDerniereImage(const EtatSurface& e)
{
    constexpr std::array<const char*, 13> rangs = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"};
    constexpr std::array<const char*, 4> couleurs = {"Trefle", "Carreau", "Coeur", "Pique"};
    constexpr std::array<const char*, 4> hauts = {"texteMise", "texteFirstHand", "texteWin", "texteLoose"};
    constexpr std::array<const char*, 10> combinaisons = {"Rien",    "Paire",      "DoublePaire", "Brelan",
                                                          "Suite",   "Couleur",    "FullHouse",   "Carre",
                                                          "QuinteFlush", "QuinteFlushRoyal"};
    std::vector<Place> places = {{"image/backTexte.bmp", 10, 93},
                                 {"image/bouton/boutonAideUp.bmp", 6, 425},
                                 {"image/bouton/boutonApropoUp.bmp", 6, 456},
                                 {"image/bouton/boutonRejouerDown.bmp", 385, 440},
                                 {std::string("image/texte/") + hauts.at(static_cast<size_t>(e.texteHaut)) + ".bmp", 193, 7},
                                 {std::string("image/texte/combinaison/texte") +
                                      combinaisons.at(static_cast<size_t>(e.texteBas)) + ".bmp",
                                  118, 378}};
    for (int i = 0; i < 5; ++i) {
        const size_t id = static_cast<size_t>(e.carte[i] - 1);
        places.push_back({std::string("image/bouton/boutonGarder") + (e.garder[i] ? "Down" : "Up") + ".bmp", 56 + 91 * i, 321});
        places.push_back({std::string("image/carte/") + rangs.at(id / 4) + couleurs.at(id % 4) + ".bmp", 61 + 91 * i, 221});
    }
    return places;
}

// Where a missing picture leaves the screen as it was: the table, except for
// the pressed replay button, drawn over the released one.
Place dessous(const Place& p)
{
    if (p.fichier == "image/bouton/boutonRejouerDown.bmp") {
        return {"image/bouton/boutonRejouerUp.bmp", p.x, p.y};
    }
    return {"image/backgroundJeu.bmp", 0, 0};
}

// Text blended over black: the counters in yellow, the web address and the
// version in white. Nothing else may show without pictures.
bool texteSurNoir(Uint32 pixel, const SDL_PixelFormat* f)
{
    Uint8 r, g, b;
    SDL_GetRGB(pixel, const_cast<SDL_PixelFormat*>(f), &r, &g, &b);
    // Anti-aliased edges round each channel on its own: some slack. Yellow
    // keeps green at about 0.81 of red and almost no blue.
    const bool blanc = std::abs(r - g) <= 8 && std::abs(g - b) <= 8;
    const bool jaune = g <= r && g * 100 >= r * 70 - 400 && g * 100 <= r * 90 + 400 && b * 100 <= r * 12 + 300;
    return blanc || jaune;
}

enum class Attente {
    commeSaines,  // the damaged files were not drawn, all else as with sound data
    sansImages,   // only the texts are drawn, as without any picture
    sansTextes,   // everything but the texts
    ailleurs,     // what SDL made of the damaged files is drawn, all else as with sound data
    survie,       // the hand is played and the game ends normally
};

struct Cas {
    std::string nom;
    std::function<void(const fs::path&)> abime;
    Attente attente;
    std::vector<std::string> fichiers;  // the pictures that cannot be read
};

// gtest names each case by this in its list of tests.
void PrintTo(const Cas& cas, std::ostream* sortie) { *sortie << cas.nom; }

std::string nomDeCas(std::string texte)
{
    for (char& c : texte) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return texte;
}

std::vector<std::string> imagesBmp()
{
    std::vector<std::string> noms;
    if (fs::is_directory(donnees / "image")) {
        for (const auto& f : fs::recursive_directory_iterator(donnees / "image")) {
            if (f.path().extension() == ".bmp") {
                noms.push_back(fs::relative(f.path(), donnees).string());
            }
        }
    }
    std::sort(noms.begin(), noms.end());
    return noms;
}

void abimeFichier(const fs::path& chemin, const std::function<void(Octets&)>& degat)
{
    Octets o = lit(chemin);
    degat(o);
    ecrit(chemin, o);
}

// A PNG whose header says 100000 by 100000 pixels, with a valid checksum.
Octets pngGeant()
{
    Octets o = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    const Octets ihdr = {0, 1, (char)0x86, (char)0xa0, 0, 1, (char)0x86, (char)0xa0, 8, 6, 0, 0, 0};
    o.insert(o.end(), ihdr.begin(), ihdr.end());
    uint32_t crc = 0xffffffff;
    for (size_t i = 12; i < o.size(); ++i) {
        crc ^= static_cast<uint8_t>(o[i]);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
        }
    }
    crc ^= 0xffffffff;
    for (int i = 3; i >= 0; --i) {
        o.push_back(static_cast<char>(crc >> (8 * i)));
    }
    const Octets reste = {0, 0, 0, 0, 'I', 'E', 'N', 'D', (char)0xae, 0x42, 0x60, (char)0x82};
    o.insert(o.end(), reste.begin(), reste.end());
    return o;
}

std::vector<Cas> tousLesCas()
{
    std::vector<Cas> cas;
    cas.push_back({"sans_dossier_image", [](const fs::path& d) { fs::remove_all(d / "image"); }, Attente::sansImages, {}});
    const std::vector<std::string> images = imagesBmp();
    for (const std::string& f : images) {
        cas.push_back({"manque_" + nomDeCas(f.substr(6, f.size() - 10)), [f](const fs::path& d) { fs::remove(d / f); },
                       Attente::commeSaines, {f}});
    }
    for (const Degat& degat : degatsBmp) {
        if (!degat.lent) {
            cas.push_back({std::string("toutes_") + degat.nom,
                           [&degat, images](const fs::path& d) {
                               for (const std::string& f : images) {
                                   abimeFichier(d / f, degat.applique);
                               }
                           },
                           degat.luParSdl ? Attente::survie : Attente::sansImages, images});
        }
        const std::string aide = "image/bouton/boutonAideUp.bmp";
        cas.push_back({std::string("aide_") + degat.nom,
                       [&degat, aide](const fs::path& d) { abimeFichier(d / aide, degat.applique); },
                       degat.luParSdl ? Attente::ailleurs : Attente::commeSaines, {aide}});
    }
    const auto police = [](std::function<void(Octets&)> degat) {
        return [degat](const fs::path& d) { abimeFichier(d / "arial.ttf", degat); };
    };
    cas.push_back({"police_absente", [](const fs::path& d) { fs::remove(d / "arial.ttf"); }, Attente::sansTextes, {}});
    cas.push_back({"police_aleatoire", police([](Octets& o) { o = aleatoire(o.size()); }), Attente::sansTextes, {}});
    cas.push_back({"police_tronquee", police([](Octets& o) { o.resize(4096); }), Attente::sansTextes, {}});
    cas.push_back({"police_vide", police([](Octets& o) { o.clear(); }), Attente::sansTextes, {}});
    const auto icone = [](Octets o) { return [o](const fs::path& d) { ecrit(d / "image/icon.png", o); }; };
    cas.push_back({"icone_absente", [](const fs::path& d) { fs::remove(d / "image/icon.png"); }, Attente::commeSaines, {}});
    cas.push_back({"icone_aleatoire", icone(aleatoire(5000)), Attente::commeSaines, {}});
    cas.push_back({"icone_entete_geant", icone(pngGeant()), Attente::commeSaines, {}});
    return cas;
}

// The compatibility layer never frees the records of the video mode, even at
// SDL_Quit: the leak checker is told to look away from the window's opening.
template <typename Appel>
auto sansSuiviDesFuites(Appel appel)
{
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    auto resultat = appel();
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
    return resultat;
}

class DonneesAbimees : public testing::TestWithParam<Cas> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(donnees / "arial.ttf")) << "no game data in " << donnees;
        ici = fs::current_path();
        dossier = fs::path(testing::TempDir()) / ("velmora-" + std::to_string(getpid()));
        fs::remove_all(dossier);
        fs::copy(donnees, dossier, fs::copy_options::recursive);
    }
    void TearDown() override
    {
        fs::current_path(ici);
        fs::remove_all(dossier);
        fs::remove_all(dossier.string() + "-sans-image");
    }
    fs::path ici, dossier;
};

TEST(Donnees, LesCentDixSeptImagesSontLa)
{
    EXPECT_EQ(imagesBmp().size(), 117u);
    EXPECT_TRUE(fs::exists(donnees / "image/icon.png"));
}

TEST_P(DonneesAbimees, LaMainSeJoueEtRienDIllisibleNEstDessine)
{
    const Cas& cas = GetParam();
    cas.abime(dossier);
    fs::current_path(dossier);
    SDL_Surface* icone = nullptr;
    SDL_Surface* ecran = sansSuiviDesFuites([&] { return initFenetre(&icone); });
    ASSERT_NE(ecran, nullptr);
    if (cas.nom.rfind("icone_", 0) == 0) {
        EXPECT_EQ(icone, nullptr);
    }
    const Partie abimee = joueMain(ecran);

    // The same hand on sound data, or with no picture at all.
    fs::path reference = donnees;
    if (cas.attente == Attente::sansImages) {
        reference = dossier.string() + "-sans-image";
        fs::create_directories(reference);
        fs::copy_file(donnees / "arial.ttf", reference / "arial.ttf");
    }
    fs::current_path(reference);
    const Partie saine = joueMain(ecran);

    EXPECT_EQ(abimee.etatApresMain, ETAT_MISE);
    EXPECT_EQ(abimee.etatFinal, ETAT_QUITTER);
    EXPECT_EQ(abimee.continuerFinal, -1);
    EXPECT_EQ(abimee.combinaison, saine.combinaison);
    EXPECT_EQ(abimee.gain, multiplicateurs[static_cast<size_t>(abimee.combinaison)] * 10);
    EXPECT_EQ(abimee.credit, CREDIT_INITIAL - 10 + abimee.gain);

    const SDL_PixelFormat* format = ecran->format;
    const int w = ecran->w, h = ecran->h;
    const auto a = [&](int x, int y) { return abimee.image[static_cast<size_t>(y * w + x)]; };
    const auto s = [&](int x, int y) { return saine.image[static_cast<size_t>(y * w + x)]; };

    // Rectangles whose pixels may differ from the reference, and what the
    // damaged frame must show there instead.
    struct Trou {
        int x, y;
        Image manquante;
        Place dessous;
        Image imageDessous;
        bool partout = false;  // dessous shows on every pixel, not only where the picture was seen
        bool libre = false;    // anything may show there
    };
    std::vector<Trou> trous;
    if (cas.attente == Attente::commeSaines || cas.attente == Attente::ailleurs) {
        for (const Place& p : placesDerniereImage(saine.surface)) {
            if (std::find(cas.fichiers.begin(), cas.fichiers.end(), p.fichier) != cas.fichiers.end()) {
                const Place d = dessous(p);
                trous.push_back({p.x, p.y, charge(p.fichier, format), d, charge(d.fichier, format), false,
                                 cas.attente == Attente::ailleurs});
            }
        }
    } else if (cas.attente == Attente::sansTextes) {
        const Image fond = charge("image/backTexte.bmp", format);
        trous.push_back({10, 93, fond, {"image/backTexte.bmp", 10, 93}, fond, true});  // the counters' backdrop, bare
    }
    const bool sansFond = std::find(cas.fichiers.begin(), cas.fichiers.end(), "image/backgroundJeu.bmp") !=
                              cas.fichiers.end() &&
                          cas.attente == Attente::commeSaines;

    long differences = 0, verifies = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Trou* trou = nullptr;
            for (const Trou& t : trous) {
                if (x >= t.x && y >= t.y && x < t.x + t.manquante.w && y < t.y + t.manquante.h) {
                    trou = &t;
                }
            }
            if (trou == nullptr) {
                differences += a(x, y) != s(x, y);
                continue;
            }
            // Where the reference shows the picture itself and it differs
            // from what lies beneath, the damaged frame shows what lies beneath.
            const Uint32 image = trou->manquante(x - trou->x, y - trou->y);
            const Uint32 avant = trou->imageDessous(x - trou->dessous.x, y - trou->dessous.y);
            if (trou->libre) {
                continue;
            }
            if (trou->partout) {
                verifies += s(x, y) != avant;
                differences += a(x, y) != avant;
            } else if (s(x, y) == image && image != avant) {
                ++verifies;
                differences += a(x, y) != avant;
            }
        }
    }
    if (sansFond) {
        // Without the table the window keeps the last background drawn over
        // all of it, the About screen's, where no widget lies.
        const Image apropos = charge("image/backgroundApropos.bmp", format);
        differences = 0;
        for (int y = 100; y < h; ++y) {
            for (int x = 600; x < w; ++x) {
                differences += a(x, y) != apropos(x, y);
                verifies += s(x, y) != apropos(x, y);
            }
        }
    }
    if (cas.attente != Attente::survie) {
        EXPECT_EQ(differences, 0) << "pixels that differ from what should be on the screen";
    }
    if ((!trous.empty() && cas.attente != Attente::ailleurs) || sansFond) {
        EXPECT_GT(verifies, 100) << "the missing picture should have been visible in the reference";
    }
    if (cas.attente == Attente::sansImages) {
        long textes = 0, autres = 0;
        for (Uint32 pixel : abimee.image) {
            textes += pixel != 0;
            autres += pixel != 0 && !texteSurNoir(pixel, format);
        }
        EXPECT_GT(textes, 100) << "the counters are drawn without pictures";
        EXPECT_EQ(autres, 0) << "pixels of something else than text";
    }
    SDL_FreeSurface(icone);
    SDL_Quit();
}

INSTANTIATE_TEST_SUITE_P(Cas, DonneesAbimees, testing::ValuesIn(tousLesCas()),
                         [](const testing::TestParamInfo<Cas>& info) { return info.param.nom; });

}  // namespace
