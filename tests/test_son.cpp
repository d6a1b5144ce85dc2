// The sounds: the files the generator writes, what each moment of the table
// calls for, and what the game plays, heard through SDL's disk audio driver
// (the mixed output written to a file, paced in real time).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "analyseCarte.h"
#include "bruitage.h"
#include "gestionCarte.h"
#include "gestionEvent.h"
#include "gestionMiseGain.h"
#include "main.h"
#include "scenario.h"

void PrintTo(const Bruit& b, std::ostream* os) { *os << "{" << b.code << ", " << b.delai << ", " << b.emplacement << "}"; }

namespace {

namespace fs = std::filesystem;

// A WAV as the generator writes it: the canonical 44-byte header, then the samples.
struct Wav {
    bool lu = false;
    uint16_t format = 0, canaux = 0, bits = 0;
    uint32_t frequence = 0;
    std::vector<int16_t> echantillons;
};

uint32_t mot(const std::string& octets, size_t position, int taille)
{
    uint32_t valeur = 0;
    for (int i = taille - 1; i >= 0; --i) valeur = valeur << 8 | static_cast<uint8_t>(octets[position + i]);
    return valeur;
}

std::string contenu(const fs::path& chemin)
{
    std::ifstream f(chemin, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

Wav litWav(const fs::path& chemin)
{
    const std::string o = contenu(chemin);
    Wav w;
    if (o.size() < 44 || o.compare(0, 4, "RIFF") != 0 || o.compare(8, 8, "WAVEfmt ") != 0 ||
        o.compare(36, 4, "data") != 0 || mot(o, 40, 4) != o.size() - 44 || mot(o, 4, 4) != o.size() - 8)
        return w;
    w = {true, static_cast<uint16_t>(mot(o, 20, 2)), static_cast<uint16_t>(mot(o, 22, 2)),
         static_cast<uint16_t>(mot(o, 34, 2)), mot(o, 24, 4), std::vector<int16_t>((o.size() - 44) / 2)};
    std::memcpy(w.echantillons.data(), o.data() + 44, w.echantillons.size() * 2);
    return w;
}

fs::path fichierSon(int32_t code) { return fs::path(VELMORA_DONNEES) / "son" / (std::string(nomsSons[code]) + ".wav"); }

int crete(const std::vector<int16_t>& e, size_t debut, size_t fin)
{
    int c = 0;
    for (size_t i = debut; i < fin; ++i) c = std::max(c, std::abs(int{e[i]}));
    return c;
}

// The length chosen for each sound, in milliseconds, by code.
constexpr int32_t longueurs[NB_SONS] = {160, 720, 400, 80, 50, 50, 40, 500, 600, 1000, 1500, 2600, 1400};

// Each sound is a mono 16-bit 44.1 kHz PCM file of its length; its peak lies
// between -20 and -3 dBFS; it rises from zero and falls back to it: its
// first and last samples are 0 and its first and last 0.1 ms stay under 5 %
// of its peak (no click at either end).
TEST(Sons, ChaqueFichierASonFormatSaLongueurSaCreteEtSesBordsAZero)
{
    for (int32_t code = 0; code < NB_SONS; ++code) {
        SCOPED_TRACE(nomsSons[code]);
        const Wav w = litWav(fichierSon(code));
        ASSERT_TRUE(w.lu);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.canaux, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.frequence, 44100u);
        const std::vector<int16_t>& e = w.echantillons;
        ASSERT_EQ(e.size(), static_cast<size_t>(longueurs[code] * 441 / 10));
        const int c = crete(e, 0, e.size());
        EXPECT_LE(c, 23197) << "above -3 dBFS";
        EXPECT_GE(c, 3277) << "below -20 dBFS";
        EXPECT_EQ(e.front(), 0);
        EXPECT_EQ(e.back(), 0);
        EXPECT_LT(crete(e, 0, 4), c / 20);
        EXPECT_LT(crete(e, e.size() - 4, e.size()), c / 20);
    }
}

// A fresh run of the generator writes the same bytes as the build did.
TEST(Sons, LeGenerateurEstDeterministe)
{
    const std::string neuf = testing::TempDir() + "velmora_sons";
    ASSERT_EQ(std::system(("rm -rf " + neuf + " && " GENERE_SONS " " + neuf).c_str()), 0);
    EXPECT_EQ(std::system(("diff -r " + neuf + "/son " VELMORA_DONNEES "/son").c_str()), 0);
    fs::remove_all(neuf);
}

// --- What each moment of the table calls for --------------------------------

// A table without animations: its cards flick at the deal and the draw.
Instant table(int32_t etat, int32_t texteHaut)
{
    Instant i{};
    i.reglages.animations = ANIMATIONS_AUCUNE;
    initEtatSurface(&i.surface);
    i.surface.fond = FOND_JEU;
    i.surface.texteHaut = texteHaut;
    i.etat = etat;
    i.credit = 40;
    i.mise = 10;
    return i;
}

const Instant mise = table(ETAT_MISE, TEXTE_MISE);
const Instant premiere = [] {
    Instant i = table(ETAT_FIRSTHAND, TEXTE_FIRSTHAND);
    for (int s = 0; s < 5; ++s) i.surface.carte[s] = 4 * s + 3;
    return i;
}();

using Change = void (*)(Instant&);

struct Cas {
    const char* nom;
    const Instant* avant;
    Change avantChange, apresChange;
    std::vector<Bruit> attendus;
};

void rien(Instant&) {}

const Cas cas[] = {
    {"chip 10 staked", &mise, rien, [](Instant& i) { i.surface.jeton[3] = 1, i.mise = 20, i.credit = 30; }, {{SON_JETON}}},
    {"chip released", &mise, [](Instant& i) { i.surface.jeton[3] = 1; }, [](Instant& i) { i.surface.jeton[3] = 0; }, {}},
    {"Tapis", &mise, rien, [](Instant& i) { i.surface.jeton[8] = 1, i.mise = 50, i.credit = 0; }, {{SON_TAPIS}}},
    {"Annuler", &mise, rien, [](Instant& i) { i.surface.jeton[9] = 1, i.mise = 0, i.credit = 50; }, {{SON_ANNULER}}},
    {"a chip with no credit left", &mise, [](Instant& i) { i.credit = 0; },
     [](Instant& i) { i.credit = 0, i.surface.jeton[0] = 1; }, {{SON_CLIC}}},
    {"a smaller same stake at a new hand is no sweep", &mise, [](Instant& i) { i.surface.texteHaut = TEXTE_WIN; },
     [](Instant& i) { i.surface.texteHaut = TEXTE_MISE, i.mise = 3, i.credit = 0; }, {}},
    {"Help", &mise, rien, [](Instant& i) { i.surface.boutonAide = 1; }, {{SON_CLIC}}},
    {"Help released", &mise, [](Instant& i) { i.surface.boutonAide = 1; }, [](Instant& i) { i.surface.boutonAide = 0; },
     {}},
    {"deal pressed", &mise, rien, [](Instant& i) { i.surface.boutonCarte = CARTE_DOWN; }, {{SON_CLIC}}},
    {"replay pressed", &premiere, [](Instant& i) { i.surface.boutonCarte = REJOUER_UP; },
     [](Instant& i) { i.surface.boutonCarte = REJOUER_DOWN; }, {{SON_CLIC}}},
    {"New game", &mise, [](Instant& i) { i.etat = ETAT_START; }, [](Instant& i) { i.etat = ETAT_START, i.surface.boutonNewGame = 1; },
     {{SON_CLIC}}},
    {"Statistiques", &mise, [](Instant& i) { i.etat = ETAT_START; },
     [](Instant& i) { i.etat = ETAT_START, i.surface.boutonStatistiques = 1; }, {{SON_CLIC}}},
    {"a setting changed", &mise, [](Instant& i) { i.etat = ETAT_OPTION, i.reglages.son = 0; },
     [](Instant& i) { i.reglages.son = 1; }, {{SON_CLIC}}},
    {"the window shown again", &mise, rien, [](Instant& i) { i.surface.fond = FOND_PERDU; }, {}},
    {"slot 3 marked", &premiere, rien, [](Instant& i) { i.surface.garder[2] = 1; }, {{SON_CHANGER, 0, 2}}},
    {"slot 3 kept again", &premiere, [](Instant& i) { i.surface.garder[2] = 1; },
     [](Instant& i) { i.surface.garder[2] = 0; }, {{SON_GARDER, 0, 2}}},
    {"the deal", &mise, rien, [](Instant& i) { i = premiere; },
     {{SON_CARTE, 0, 0}, {SON_CARTE, 60, 1}, {SON_CARTE, 120, 2}, {SON_CARTE, 180, 3}, {SON_CARTE, 240, 4}}},
    {"two drawn, three of a kind", &premiere, rien,
     [](Instant& i) {
         i.etat = ETAT_SECONDHAND, i.surface.carte[1] = 50, i.surface.carte[4] = 51;
         i.surface.texteHaut = TEXTE_WIN, i.surface.texteBas = Brelan;
     },
     {{SON_CARTE, 0, 1}, {SON_CARTE, 60, 4}, {SON_GAIN_MOYEN, 180}}},
    {"the deal and the draw animated: the animation flicks them", &premiere,
     [](Instant& i) { i.reglages.animations = ANIMATIONS_RAPIDES; },
     [](Instant& i) {
         i.etat = ETAT_SECONDHAND, i.surface.carte[1] = 50;
         i.surface.texteHaut = TEXTE_WIN, i.surface.texteBas = Carre;
     },
     {{SON_GAIN_GRAND}}},
    {"all held, nothing", &premiere, rien,
     [](Instant& i) { i.etat = ETAT_SECONDHAND, i.surface.texteHaut = TEXTE_LOOSE, i.surface.texteBas = Rien; },
     {{SON_PERDU}}},
    {"the credit gone", &mise, [](Instant& i) { i.surface.texteHaut = TEXTE_LOOSE; },
     [](Instant& i) { i.etat = ETAT_LOOSE; }, {{SON_FIN_PARTIE}}},
};

TEST(Bruitage, ChaqueMomentAppelleSesSons)
{
    for (const Cas& c : cas) {
        Instant avant = *c.avant, apres = *c.avant;
        c.avantChange(avant);
        c.avantChange(apres);
        c.apresChange(apres);
        Bruit bruits[NB_BRUITS_MAX];
        const int32_t n = bruitsEntre(&avant, &apres, bruits);
        EXPECT_EQ(std::vector<Bruit>(bruits, bruits + n), c.attendus) << c.nom;
    }
}

// Losses, the three tiers of wins and the royal flush, by combination.
constexpr int32_t paliers[NB_COMBINAISONS] = {SON_PERDU,      SON_GAIN_PETIT, SON_GAIN_PETIT, SON_GAIN_MOYEN,
                                              SON_GAIN_MOYEN, SON_GAIN_MOYEN, SON_GAIN_MOYEN, SON_GAIN_GRAND,
                                              SON_GAIN_GRAND, SON_ROYALE};

TEST(Bruitage, ChaqueCombinaisonSonPalier)
{
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) EXPECT_EQ(sonResultat(c), paliers[c]) << c;
}

// --- What the game plays -----------------------------------------------------

// The disk driver's file: before each event is read, the sounds already
// started have played out and reached the file (four buffers more, so that
// none is left in the driver); the file's size then is a boundary. The
// events are given one at a time, when the game waits on an empty queue, so
// that an animation finds none to finish it early.
struct Disque {
    std::string chemin;
    std::vector<SDL_Event> evenements;  // then Escape
    std::vector<uintmax_t> bornes;      // before each event read
};

Disque* disque = nullptr;
std::function<void()> quandVide;  // called once when the game waits on an empty queue

uintmax_t taille(const std::string& chemin)
{
    std::error_code erreur;
    const uintmax_t t = fs::file_size(chemin, erreur);
    return erreur ? 0 : t;
}

void attendSilence(const Disque* d)
{
    int frequence = 0, canaux = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequence, &format, &canaux) == 0) return;  // nothing opened, nothing to hear
    while (Mix_Playing(-1) > 0) SDL_Delay(2);
    const uintmax_t t = taille(d->chemin);
    while (taille(d->chemin) < t + 4 * TAMPON_SON * 4) SDL_Delay(2);
}

// The game's run-long records on a dummy screen, its sounds on the disk driver.
class Ecoute : public testing::Test {
protected:
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface etatSurface{};
    int32_t etat = ETAT_START, continuer = 1, combinaison = Rien;
    SDL_Surface* ecran = nullptr;
    Complements complements{};

    void SetUp() override
    {
        gardeTemps(90);
        ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ecran = SDL_SetVideoMode(872, 488, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(ecran, nullptr) << SDL_GetError();
        initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, 20261207);
        complements.reglages.animations = ANIMATIONS_AUCUNE;  // the scripts' presses are never taken to finish one
    }
    void TearDown() override
    {
        disque = nullptr;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_Quit();
    }
    // A new game from the start screen: the events, then Escape.
    void joue(const std::vector<SDL_Event>& evenements)
    {
        etat = ETAT_START, continuer = 1;
        for (SDL_Event e : evenements) SDL_PushEvent(&e);
        pousseTouche(SDLK_ESCAPE);
        passe();
    }
    void passe()
    {
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
                 nullptr, &complements);
    }
};

SDL_Event appui(Point p) { return SDL_Event{.button = {SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_LEFT, SDL_PRESSED, p.x, p.y}}; }
SDL_Event lache(Point p) { return SDL_Event{.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, p.x, p.y}}; }

// One hand: each event, and whether the table answers it with a sound.
const std::pair<SDL_Event, bool> uneMain[] = {
    {appui(NOUVELLE_PARTIE), true}, {lache(NOUVELLE_PARTIE), false},
    {appui(JETON_10), true},        {lache(JETON_10), false},    // a clink
    {appui(DISTRIBUER), true},      {lache(DISTRIBUER), true},   // the deal
    {appui(garder(1)), true},       {lache(garder(1)), false},   // a tick
    {appui(garder(3)), true},       {lache(garder(3)), false},
    {appui(DISTRIBUER), true},      {lache(DISTRIBUER), true},   // the draw and the result
};

std::vector<SDL_Event> evenements()
{
    std::vector<SDL_Event> liste;
    for (const auto& [e, entendu] : uneMain) liste.push_back(e);
    return liste;
}

// The first and last frames of the driver's file (16-bit stereo) between two
// offsets where either side is not silent; -1 when all are.
std::pair<long, long> entendus(const std::string& octets, uintmax_t debut, uintmax_t fin)
{
    long premier = -1, dernier = -1;
    for (uintmax_t o = debut; o + 4 <= fin; o += 4) {
        if (mot(octets, o, 4) != 0) {
            if (premier < 0) premier = static_cast<long>((o - debut) / 4);
            dernier = static_cast<long>((o - debut) / 4);
        }
    }
    return {premier, dernier};
}

// The first and last samples of a sound's file that are not silent.
std::pair<long, long> audible(int32_t code)
{
    const std::vector<int16_t> e = litWav(fichierSon(code)).echantillons;
    const auto premier = std::ranges::find_if(e, [](int16_t v) { return v != 0; });
    const auto dernier = std::find_if(e.rbegin(), e.rend(), [](int16_t v) { return v != 0; });
    return {premier - e.begin(), e.rend() - dernier - 1};
}

// Hands played with the sound on, each heard in a file of its own: every
// press that means something, the deal, the draw and the result put sound in
// the file, nothing else does. Without animations the result is told by its
// length: from the first card drawn (two are) to the end of the result is the
// delay before the result and the length of the sound the hand's combination
// calls for, and the lengths of the tiers lie 0.1 s and more apart. The seed
// gives a loss and wins. The last hand is animated: its cards flick as they
// turn, paced by the clock.
TEST_F(Ecoute, ChaqueMomentDUneMainSEntendDansLeFichier)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    complements.deroulement = {nullptr, nullptr, entendRetournees, &complements.ecoute};
    std::vector<int32_t> combinaisons;
    for (int main = 0; main < 4; ++main) {
        const bool animee = main == 3;
        complements.reglages.animations = animee ? ANIMATIONS_RAPIDES : ANIMATIONS_AUCUNE;
        Disque d{std::string(std::getenv("HOME")) + "/main" + std::to_string(main) + ".raw", evenements(), {}};
        setenv("SDL_DISKAUDIOFILE", d.chemin.c_str(), 1);
        disque = &d;
        etat = ETAT_START, continuer = 1;
        passe();
        disque = nullptr;
        EXPECT_EQ(complements.ecoute.son.etat, SON_FERME) << "closed when the player quits";
        ASSERT_EQ(d.bornes.size(), std::size(uneMain) + 1) << "one wait per event and Escape";

        const std::string octets = contenu(d.chemin);
        d.bornes.push_back(octets.size());
        for (size_t i = 0; i + 1 < d.bornes.size(); ++i)
            EXPECT_EQ(entendus(octets, d.bornes[i], d.bornes[i + 1]).first >= 0, i < std::size(uneMain) && uneMain[i].second)
                << "hand " << main << ", event " << i;
        if (animee) continue;

        const size_t tirage = std::size(uneMain) - 1;
        const auto [debut, fin] = entendus(octets, d.bornes[tirage], d.bornes[tirage + 1]);
        const long delai = (2 * ECART_CARTES_MS + PAUSE_RESULTAT_MS) * 44 - audible(SON_CARTE).first;
        int32_t pres = -1;
        long ecart = 1L << 30;
        for (int32_t code : {SON_PERDU, SON_GAIN_PETIT, SON_GAIN_MOYEN, SON_GAIN_GRAND, SON_ROYALE}) {
            const long attendu = delai + audible(code).second;
            if (std::labs(fin - debut - attendu) < ecart) ecart = std::labs(fin - debut - attendu), pres = code;
        }
        EXPECT_EQ(pres, paliers[combinaison]) << "hand " << main << " made " << combinaison;
        EXPECT_LT(ecart, 441) << "within 10 ms of the sound's own length";
        combinaisons.push_back(combinaison);
        std::printf("hand %d: combination %d, heard within %ld frames\n", main, combinaison, ecart);
    }
    const auto pertes = std::ranges::count(combinaisons, Rien);
    EXPECT_TRUE(pertes > 0 && pertes < 3) << "the seed should give a loss and a win";
}

// An animation's slots that begin to turn flick at once, one channel each.
TEST_F(Ecoute, ChaqueCarteRetourneeClaque)
{
    ::Ecoute ecoute;
    ASSERT_TRUE(ouvreSon(&ecoute.son));
    for (auto [places, voies] : {std::pair{0, 0}, {0b10101, 3}, {0b11111, 5}}) {
        Mix_HaltChannel(-1);
        entendRetournees(&ecoute, places);
        EXPECT_EQ(Mix_Playing(-1), voies) << places;
    }
    fermeSon(&ecoute.son);
}

// With the sound off the device is never opened: the driver writes no file.
TEST_F(Ecoute, SansLeSonRienNEstOuvert)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    const std::string chemin = std::string(std::getenv("HOME")) + "/muet.raw";
    setenv("SDL_DISKAUDIOFILE", chemin.c_str(), 1);
    complements.reglages.son = 0;
    joue(evenements());
    EXPECT_EQ(etatSurface.texteHaut == TEXTE_WIN || etatSurface.texteHaut == TEXTE_LOOSE, true) << "the hand was played";
    EXPECT_FALSE(fs::exists(chemin));
}

// A driver that cannot open: one line says so, and the hand plays silently;
// a second hand adds nothing, not even when the setting is turned off and on.
TEST_F(Ecoute, SansPeripheriqueUneLigneEtLeJeuContinue)
{
    setenv("SDL_AUDIODRIVER", "aucun", 1);
    testing::internal::CaptureStderr();
    joue(evenements());
    EXPECT_TRUE(etatSurface.texteHaut == TEXTE_WIN || etatSurface.texteHaut == TEXTE_LOOSE) << "the hand was played";
    EXPECT_EQ(continuer, -1);
    constexpr Point SON{358, 345};
    joue({appui(OPTION), lache(OPTION), appui(SON), appui(SON), appui(RETOUR), lache(RETOUR)});
    const std::string erreurs = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::ranges::count(erreurs, '\n'), 1) << erreurs;
    EXPECT_EQ(erreurs.rfind("velmora : pas de son (", 0), 0u) << erreurs;
    EXPECT_EQ(complements.ecoute.son.etat, SON_MUET);
}

// The setting on the Option screen closes the device at once and opens it
// again; quitting closes it.
TEST_F(Ecoute, LeReglageFermeEtRouvre)
{
    constexpr Point SON{358, 345};
    const Son& son = complements.ecoute.son;
    for (auto [appuis, attendu] : {std::pair{0, SON_OUVERT}, {1, SON_FERME}, {2, SON_OUVERT}}) {
        etat = ETAT_START, continuer = 1;
        complements.reglages.son = 1;
        clic(OPTION);
        for (int i = 0; i < appuis; ++i) presse(SON);
        int32_t vu = -1;  // once the presses are read, on the Option screen
        quandVide = [&] { vu = son.etat, pousseTouche(SDLK_ESCAPE); };
        passeJeu(ecran, &sabot, &mainJoueur, &defausse, statistiques, &etatSurface, &etat, &continuer, &combinaison,
                 nullptr, &complements);
        EXPECT_EQ(vu, attendu) << appuis << " presses";
        EXPECT_EQ(son.etat, SON_FERME);
    }
}

}  // namespace

extern "C" int __real_SDL_WaitEvent(SDL_Event* evenement);

extern "C" int __wrap_SDL_WaitEvent(SDL_Event* evenement)
{
    if (quandVide && SDL_PeepEvents(evenement, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) {
        const std::function<void()> appel = std::move(quandVide);
        quandVide = nullptr;
        appel();
    }
    if (disque != nullptr && SDL_PeepEvents(evenement, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) {
        attendSilence(disque);
        disque->bornes.push_back(taille(disque->chemin));
        const size_t i = disque->bornes.size() - 1;
        if (i < disque->evenements.size()) SDL_PushEvent(&disque->evenements[i]);
        else pousseTouche(SDLK_ESCAPE);
    }
    return __real_SDL_WaitEvent(evenement);
}
