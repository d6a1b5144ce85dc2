// The sounds: the files the generator writes, what each moment of the table
// calls for, and what the game plays, heard through SDL's disk audio driver
// (the mixed output written to a file, paced in real time).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "analyseCarte.h"
#include "bruitage.h"
#include "tableTest.h"

void PrintTo(const Bruit& b, std::ostream* o) { *o << '{' << b.code << ',' << b.delai << ',' << b.emplacement << '}'; }

namespace {

namespace fs = std::filesystem;

// A sound's samples as SDL reads its file (none when it cannot), its format in *format.
std::vector<int16_t> echantillons(int32_t code, SDL_AudioSpec* format)
{
    const std::string chemin = VELMORA_DONNEES "/son/" + std::string(nomsSons[code]) + ".wav";
    Uint8* octets = nullptr;
    Uint32 taille = 0;
    if (SDL_LoadWAV(chemin.c_str(), format, &octets, &taille) == nullptr) return {};
    std::vector<int16_t> e(taille / 2);
    std::memcpy(e.data(), octets, e.size() * 2);
    SDL_FreeWAV(octets);
    return e;
}

int crete(const std::vector<int16_t>& e, size_t debut, size_t fin)
{
    int c = 0;
    for (size_t i = debut; i < fin; ++i) c = std::max(c, std::abs(int{e[i]}));
    return c;
}

// Each sound reads as mono 16-bit 44.1 kHz; its peak lies between -20 and -3
// dBFS; it rises from zero and falls back to it: its first and last samples
// are 0 and its first and last 0.1 ms stay under 5 % of its peak (no click at
// either end).
TEST(Sons, ChaqueFichierASonFormatSaCreteEtSesBordsAZero)
{
    for (int32_t code = 0; code < NB_SONS; ++code) {
        SCOPED_TRACE(nomsSons[code]);
        SDL_AudioSpec format{};
        const std::vector<int16_t> e = echantillons(code, &format);
        ASSERT_TRUE(format.freq == 44100 && format.format == AUDIO_S16LSB && format.channels == 1 && e.size() > 8);
        const int c = crete(e, 0, e.size());
        EXPECT_TRUE(c >= 3277 && c <= 23197) << c << " is not between -20 and -3 dBFS";
        EXPECT_TRUE(e.front() == 0 && e.back() == 0);
        EXPECT_LT(std::max(crete(e, 0, 4), crete(e, e.size() - 4, e.size())), c / 20);
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
    Instant i{.surface = {}, .etat = etat, .credit = 40, .mise = 10, .reglages = {.animations = ANIMATIONS_AUCUNE}};
    initEtatSurface(&i.surface);
    i.surface.fond = FOND_JEU, i.surface.texteHaut = texteHaut;
    return i;
}

const Instant mise = table(ETAT_MISE, TEXTE_MISE);
const Instant premiere = [] {
    Instant i = table(ETAT_FIRSTHAND, TEXTE_FIRSTHAND);
    for (int s = 0; s < 5; ++s) i.surface.carte[s] = 4 * s + 3;
    return i;
}();

// The final hand scored: its banners.
void finale(Instant& i, int32_t combinaison)
{
    i.etat = ETAT_SECONDHAND, i.surface.texteBas = combinaison;
    i.surface.texteHaut = combinaison == Rien ? TEXTE_LOOSE : TEXTE_WIN;
}

// A moment: the table before it (a change made to both sides), what it changes, the sounds it calls for.
using Change = void (*)(Instant&);
void rien(Instant&) {}
struct Cas {
    const char* nom;
    const Instant* avant;
    Change avantChange, apresChange;
    std::vector<Bruit> attendus;
};

// Releases, New game and the deal button are heard, or not, in the game's own hand below.
const Cas cas[] = {
    {"chip 10", &mise, rien, [](Instant& i) { i.surface.jeton[3] = 1, i.mise = 20, i.credit = 30; }, {{SON_JETON}}},
    {"Tapis", &mise, rien, [](Instant& i) { i.surface.jeton[8] = 1, i.mise = 50, i.credit = 0; }, {{SON_TAPIS}}},
    {"Annuler", &mise, rien, [](Instant& i) { i.surface.jeton[9] = 1, i.mise = 0, i.credit = 50; }, {{SON_ANNULER}}},
    {"a chip with no credit left", &mise, [](Instant& i) { i.credit = 0; },
     [](Instant& i) { i.credit = 0, i.surface.jeton[0] = 1; }, {{SON_CLIC}}},
    {"a smaller same stake at a new hand is no sweep", &mise, [](Instant& i) { i.surface.texteHaut = TEXTE_WIN; },
     [](Instant& i) { i.surface.texteHaut = TEXTE_MISE, i.mise = 3, i.credit = 0; }, {}},
    {"replay pressed", &premiere, [](Instant& i) { i.surface.boutonCarte = REJOUER_UP; },
     [](Instant& i) { i.surface.boutonCarte = REJOUER_DOWN; }, {{SON_CLIC}}},
    {"Statistiques", &mise, rien, [](Instant& i) { i.surface.boutonStatistiques = 1; }, {{SON_CLIC}}},
    {"a setting changed", &mise, [](Instant& i) { i.etat = ETAT_OPTION, i.reglages.son = 0; },
     [](Instant& i) { i.reglages.son = 1; }, {{SON_CLIC}}},
    {"slot 3 marked", &premiere, rien, [](Instant& i) { i.surface.garder[2] = 1; }, {{SON_CHANGER, 0, 2}}},
    {"slot 3 kept again", &premiere, [](Instant& i) { i.surface.garder[2] = 1; },
     [](Instant& i) { i.surface.garder[2] = 0; }, {{SON_GARDER, 0, 2}}},
    {"the deal", &mise, rien, [](Instant& i) { i = premiere; },
     {{SON_CARTE, 0, 0}, {SON_CARTE, 60, 1}, {SON_CARTE, 120, 2}, {SON_CARTE, 180, 3}, {SON_CARTE, 240, 4}}},
    {"two drawn, three of a kind", &premiere, rien,
     [](Instant& i) { finale(i, Brelan), i.surface.carte[1] = 50, i.surface.carte[4] = 51; },
     {{SON_CARTE, 0, 1}, {SON_CARTE, 60, 4}, {SON_GAIN_MOYEN, 180}}},
    {"the deal and the draw animated: the animation flicks them", &premiere,
     [](Instant& i) { i.reglages.animations = ANIMATIONS_RAPIDES; },
     [](Instant& i) { finale(i, Carre), i.surface.carte[1] = 50; }, {{SON_GAIN_GRAND}}},
    {"all held, nothing", &premiere, rien, [](Instant& i) { finale(i, Rien); }, {{SON_PERDU}}},
    {"the credit gone", &mise, [](Instant& i) { i.surface.texteHaut = TEXTE_LOOSE; },
     [](Instant& i) { i.etat = ETAT_LOOSE; }, {{SON_FIN_PARTIE}}},
};

// Losses, the three tiers of wins and the royal flush, by combination.
constexpr int32_t paliers[NB_COMBINAISONS] = {SON_PERDU,      SON_GAIN_PETIT, SON_GAIN_PETIT, SON_GAIN_MOYEN,
                                              SON_GAIN_MOYEN, SON_GAIN_MOYEN, SON_GAIN_MOYEN, SON_GAIN_GRAND,
                                              SON_GAIN_GRAND, SON_ROYALE};

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
    for (int32_t c = 0; c < NB_COMBINAISONS; ++c) EXPECT_EQ(sonResultat(c), paliers[c]) << c;
}

// --- What the game plays -----------------------------------------------------

// Called by the wrapped SDL_WaitEvent each time the game waits on an empty queue.
std::function<void()> quandVide;

uintmax_t taille(const std::string& chemin)
{
    std::error_code erreur;
    const uintmax_t t = fs::file_size(chemin, erreur);
    return erreur ? 0 : t;
}

// One hand, clicked: each press is answered with a sound, and so is the deal
// button's release (the deal, then the draw and the result).
const std::pair<Point, bool> uneMain[] = {{NOUVELLE_PARTIE, false}, {JETON_10, false}, {DISTRIBUER, true},
                                          {garder(1), false},       {garder(3), false}, {DISTRIBUER, true}};
constexpr size_t NB_EVENEMENTS = 2 * std::size(uneMain);

// The table's records on a dummy screen, its data from the build's directory.
class Ecoute : public Table {
protected:
    void SetUp() override
    {
        Table::SetUp();
        gardeTemps(90);
        ASSERT_EQ(chdir(VELMORA_DONNEES), 0);
        complements.reglages.animations = ANIMATIONS_AUCUNE;  // the scripts' presses are never taken to finish one
    }
    void TearDown() override
    {
        quandVide = nullptr;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Table::TearDown();
    }
    // A new game from the start screen: the hand, then Escape.
    void joueUneMain()
    {
        etat = ETAT_START, continuer = 1;
        for (const auto& [p, relacheEntendu] : uneMain) clic(p);
        pousseTouche(SDLK_ESCAPE);
        passe();
    }
};

// The first and last frames of the driver's file (16-bit stereo) between two
// offsets where either side is not silent; -1 when all are.
std::pair<long, long> entendus(const std::string& octets, uintmax_t debut, uintmax_t fin)
{
    long premier = -1, dernier = -1;
    for (uintmax_t o = debut; o + 4 <= fin; o += 4) {
        if (octets.compare(o, 4, "\0\0\0\0", 4) != 0) dernier = long((o - debut) / 4);
        premier = premier < 0 ? dernier : premier;
    }
    return {premier, dernier};
}

// The first and last samples of a sound's file that are not silent.
std::pair<long, long> audible(int32_t code)
{
    SDL_AudioSpec format;
    const std::vector<int16_t> e = echantillons(code, &format);
    const auto sonore = [](int16_t v) { return v != 0; };
    return {std::ranges::find_if(e, sonore) - e.begin(), e.rend() - std::find_if(e.rbegin(), e.rend(), sonore) - 1};
}

// Hands played with the sound on, each heard in a file of its own. The
// events are given one at a time, when the game waits on an empty queue (so
// that an animation finds none to finish it early); before each, the sounds
// already started have played out and reached the file (four buffers more, so
// that none is left in the driver), and the file's size then is a boundary.
// Every press that means something, the deal, the draw and the result put
// sound in the file, nothing else does. Without animations the result is told
// by its length: from the first card drawn (two are) to the end of the result
// is the delay before the result and the length of the sound the hand's
// combination calls for, and the lengths of the tiers lie 0.1 s and more
// apart. The seed gives a loss and wins. The last hand is animated: its cards
// flick as they turn, paced by the clock.
TEST_F(Ecoute, ChaqueMomentDUneMainSEntendDansLeFichier)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    complements.deroulement = {nullptr, nullptr, entendRetournees, &complements.ecoute};
    int pertes = 0;
    for (int main = 0; main < 4; ++main) {
        const bool animee = main == 3;
        complements.reglages.animations = animee ? ANIMATIONS_RAPIDES : ANIMATIONS_AUCUNE;
        const std::string chemin = std::string(std::getenv("HOME")) + "/main" + std::to_string(main) + ".raw";
        setenv("SDL_DISKAUDIOFILE", chemin.c_str(), 1);
        std::vector<uintmax_t> bornes;
        quandVide = [&] {
            if (complements.ecoute.son.etat == SON_OUVERT) {  // nothing to hear before the device opens
                while (Mix_Playing(-1) > 0) SDL_Delay(2);
                const uintmax_t t = taille(chemin);
                while (taille(chemin) < t + 4 * TAMPON_SON * 4) SDL_Delay(2);
            }
            const size_t i = bornes.size();
            bornes.push_back(taille(chemin));
            if (i < NB_EVENEMENTS) pousseBouton(i % 2 ? SDL_MOUSEBUTTONUP : SDL_MOUSEBUTTONDOWN, uneMain[i / 2].first);
            else pousseTouche(SDLK_ESCAPE);
        };
        etat = ETAT_START, continuer = 1;
        passe();
        quandVide = nullptr;
        EXPECT_EQ(complements.ecoute.son.etat, SON_FERME) << "closed when the player quits";
        ASSERT_EQ(bornes.size(), NB_EVENEMENTS + 1) << "one wait per event and Escape";

        const std::string octets = contenu(chemin);
        bornes.push_back(octets.size());
        for (size_t i = 0; i < NB_EVENEMENTS + 1; ++i)
            EXPECT_EQ(entendus(octets, bornes[i], bornes[i + 1]).first >= 0,
                      i < NB_EVENEMENTS && (i % 2 == 0 || uneMain[i / 2].second)) << "hand " << main << ", event " << i;
        if (animee) continue;
        const auto [debut, fin] = entendus(octets, bornes[NB_EVENEMENTS - 1], bornes[NB_EVENEMENTS]);
        const long delai = (2 * ECART_CARTES_MS + PAUSE_RESULTAT_MS) * 44 - audible(SON_CARTE).first;
        EXPECT_NEAR(fin - debut, delai + audible(paliers[combinaison]).second, 441)
            << "hand " << main << " made " << combinaison << ": its sound's own length, within 10 ms";
        pertes += combinaison == Rien;
    }
    EXPECT_TRUE(pertes > 0 && pertes < 3) << "the seed should give a loss and a win";
}

// An animation's slots that begin to turn flick at once, one channel each.
TEST_F(Ecoute, ChaqueCarteRetourneeClaque)
{
    ASSERT_TRUE(ouvreSon(&complements.ecoute.son));
    for (auto [places, voies] : {std::pair{0, 0}, {0b10101, 3}, {0b11111, 5}}) {
        Mix_HaltChannel(-1);
        entendRetournees(&complements.ecoute, places);
        EXPECT_EQ(Mix_Playing(-1), voies) << places;
    }
    fermeSon(&complements.ecoute.son);
}

constexpr Point SON{358, 345};  // the sound's setting on the Option screen

// A driver that cannot open. With the sound off it is never asked; turned on,
// one line says so, and the hand plays silently; nothing more is said, not
// even when the setting is turned off and on again.
TEST_F(Ecoute, SansPeripheriqueUneLigneEtLeJeuContinue)
{
    setenv("SDL_AUDIODRIVER", "aucun", 1);
    testing::internal::CaptureStderr();
    complements.reglages.son = 0;
    joueUneMain();
    EXPECT_EQ(complements.ecoute.son.etat, SON_FERME) << "asked with the sound off";
    etat = ETAT_START;
    for (Point p : {OPTION, SON, SON, SON, RETOUR}) clic(p);
    passe();
    joueUneMain();
    EXPECT_TRUE(etatSurface.texteHaut == TEXTE_WIN || etatSurface.texteHaut == TEXTE_LOOSE) << "the hand was played";
    EXPECT_EQ(continuer, -1);
    const std::string erreurs = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::ranges::count(erreurs, '\n'), 1) << erreurs;
    EXPECT_EQ(erreurs.rfind("velmora : pas de son (", 0), 0u) << erreurs;
    EXPECT_EQ(complements.ecoute.son.etat, SON_MUET);
}

// The setting on the Option screen closes the device at once and opens it
// again; quitting closes it.
TEST_F(Ecoute, LeReglageFermeEtRouvre)
{
    const Son& son = complements.ecoute.son;
    for (auto [appuis, attendu] : {std::pair{0, SON_OUVERT}, {1, SON_FERME}, {2, SON_OUVERT}}) {
        etat = ETAT_START, continuer = 1;
        complements.reglages.son = 1;
        clic(OPTION);
        for (int i = 0; i < appuis; ++i) presse(SON);
        int32_t vu = -1;  // once the presses are read, on the Option screen
        quandVide = [&] { vu = son.etat, pousseTouche(SDLK_ESCAPE); };
        passe();
        EXPECT_EQ(vu, attendu) << appuis << " presses";
        EXPECT_EQ(son.etat, SON_FERME);
    }
}

}  // namespace

extern "C" int __real_SDL_WaitEvent(SDL_Event* evenement);

extern "C" int __wrap_SDL_WaitEvent(SDL_Event* evenement)
{
    if (quandVide && SDL_PeepEvents(evenement, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) <= 0) quandVide();
    return __real_SDL_WaitEvent(evenement);
}
