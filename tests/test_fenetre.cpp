// The real executable in a real X window on a private Xvfb display, driven
// by xdotool and read back with import: a hand played, saved and resumed; a
// hand dealt with the animations; a whole game played by the keyboard alone,
// screen for screen as by the mouse; the AZERTY number row; twenty hands,
// then the statistics screen. No sound device answers in any of them.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analyseConseil.h"
#include "bilan.h"
#include "gestionMenu.h"
#include "interfaceGraphique.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Runs a shell command; its standard output without the trailing newlines.
std::string commande(const std::string& ligne)
{
    std::string sortie;
    FILE* flux = popen(ligne.c_str(), "r");
    for (int c; flux != nullptr && (c = fgetc(flux)) != EOF;) sortie += static_cast<char>(c);
    if (flux != nullptr) pclose(flux);
    return sortie.erase(sortie.find_last_not_of('\n') + 1);
}

// Starts a shell command in the background; the shell execs its last program.
pid_t enFond(const std::string& ligne)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ligne.c_str(), static_cast<char*>(nullptr));
        _exit(112);
    }
    return pid;
}

Surface charge(const std::string& chemin) { return Surface(IMG_Load(chemin.c_str()), SDL_FreeSurface); }

Uint32 rvb(const SDL_Surface* s, int x, int y)
{
    Uint32 brut = 0;
    std::memcpy(&brut, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                s->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(brut, s->format, &r, &g, &b);
    return r << 16 | g << 8 | b;
}

// Does the picture stand at (x, y) of the screenshot of a window scaled by
// echelle (without smoothing)? One pixel in nine is enough.
bool montre(const SDL_Surface* capture, const SDL_Surface* image, int x, int y, int echelle = 1)
{
    for (int j = 0; j < image->h; j += 3)
        for (int i = 0; i < image->w; i += 3)
            if (rvb(capture, echelle * (x + i), echelle * (y + j)) != rvb(image, i, j)) return false;
    return true;
}

// Do two screenshots hold the same pixels, everywhere or in the rectangle z?
bool egales(const SDL_Surface* a, const SDL_Surface* b, SDL_Rect z = {})
{
    if (a == nullptr || b == nullptr || a->w != b->w || a->h != b->h) return false;
    if (z.w == 0) z = {0, 0, static_cast<Uint16>(a->w), static_cast<Uint16>(a->h)};
    for (int y = z.y; y < z.y + z.h; ++y)
        for (int x = z.x; x < z.x + z.w; ++x)
            if (rvb(a, x, y) != rvb(b, x, y)) return false;
    return true;
}

// A button worked by the mouse at (x, y) or by a key (xdotool's name or
// keycode): 'c' a click or a key typed, 'p' the press or key down alone,
// 'r' the release or key up, 't' a click or a key held down for 1.5 s.
struct Geste { int x, y; std::string touche; char sorte = 'c'; };

// A private Xvfb display, and the game started on it with a home of its own.
class Fenetre : public testing::Test {
protected:
    // Named after the test program's process, since other trees' tests may run beside it.
    const std::string dossier = testing::TempDir() + "velmora_fenetre_" + std::to_string(getpid());
    // The last screenshot is in capture; the saved game and the files of the game land in maison.
    std::string ecran, fenetre, erreurs = dossier + "_erreurs.txt", capture = dossier + "_capture.bmp";
    std::string maison = dossier + "_maison";
    pid_t xvfb = 0, jeu = 0;
    int echelle = 1;  // the window's scale, for clicks and pictures

    void SetUp() override
    {
        int tube[2];
        ASSERT_EQ(pipe(tube), 0);
        // Xvfb picks a free display and writes its number once it takes clients.
        xvfb = enFond("exec Xvfb -displayfd " + std::to_string(tube[1]) +
                      " -screen 0 2048x1200x24 -nolisten tcp 2>/dev/null");
        close(tube[1]);
        char numero[16] = {};
        ASSERT_GT(read(tube[0], numero, sizeof numero - 1), 0) << "Xvfb did not start";
        close(tube[0]);
        ecran = ":" + std::to_string(std::atoi(numero));
    }
    void TearDown() override
    {
        if (jeu > 0 && waitpid(jeu, nullptr, WNOHANG) == 0) kill(jeu, SIGKILL);
        if (xvfb > 0) kill(xvfb, SIGTERM);  // it removes its lock file as it ends
        for (const std::string& f : {erreurs, capture, maison, dossier + "_prefixe"}) fs::remove_all(f);
    }
    // The game in a directory, on this display, with this home and its options
    // under it, and an audio driver that cannot open: no sound device. Then
    // its start screen.
    void demarre(const std::string& programme, const std::string& dossier)
    {
        jeu = enFond("cd " + dossier + " && exec env -u SDL_VIDEODRIVER -u XDG_DATA_HOME -u XDG_CONFIG_HOME" +
                     " SDL_AUDIODRIVER=aucun SDL12COMPAT_SCALE_METHOD=nearest DISPLAY=" + ecran + " HOME=" + maison +
                     " " + programme + " 2>" + erreurs);
        fenetre = xdotool("search --sync --name '^Velmora$'");
        ASSERT_FALSE(fenetre.empty()) << commande("cat " + erreurs);
        ASSERT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    }
    std::string xdotool(std::string ordre) { return commande("DISPLAY=" + ecran + " timeout 20 xdotool " + ordre); }
    void clic(int x, int y) { fais({x, y, ""}, false); }
    void fais(const Geste& g, bool clavier)
    {
        const int i = g.sorte == 'p' ? 1 : g.sorte == 'r' ? 2 : 0;
        const std::string quoi = clavier ? " " + g.touche : " 1";
        const std::string place = " " + std::to_string(echelle * g.x) + " " + std::to_string(echelle * g.y) + " ";
        if (clavier && g.sorte == 't')  // through the server, which repeats a key held as a keyboard does
            xdotool("windowfocus --sync " + fenetre + " keydown" + quoi + " sleep 1.5 keyup" + quoi);
        else if (clavier)
            xdotool(std::array{"key", "keydown", "keyup"}[i] + (" --window " + fenetre) + quoi);
        else
            xdotool("mousemove --window " + fenetre + place + std::array{"click", "mousedown", "mouseup"}[i] + quoi);
    }
    // Escape ends the game with status 0 within twenty seconds; without a
    // sound device, standard error holds one line that says so.
    void quitte()
    {
        xdotool("key --window " + fenetre + " Escape");
        int statut = -1;
        for (int essai = 0; essai < 200 && waitpid(jeu, &statut, WNOHANG) == 0; ++essai)
            std::this_thread::sleep_for(100ms);
        // The status, then how many lines standard error holds and how many say there is no sound.
        const std::string lignes = commande("grep -c . " + erreurs + "; grep -c '^velmora : pas de son (' " + erreurs);
        EXPECT_EQ(std::to_string(statut) + " " + lignes, "0 1\n1") << commande("cat " + erreurs);
    }
    // The screen once it meets the condition (and, immobile, holds still over
    // two screenshots: bitmaps, quicker to write than PNGs), within ten
    // seconds; else null.
    template <typename Condition>
    Surface attendEcran(Condition condition, bool immobile = false)
    {
        Surface precedent(nullptr, SDL_FreeSurface);
        for (int essai = 0; essai < 50; ++essai) {
            commande("DISPLAY=" + ecran + " timeout 20 import -window " + fenetre + " bmp3:" + capture);
            Surface s = charge(capture);
            if (s && condition(s.get()) && (!immobile || egales(s.get(), precedent.get()))) return s;
            precedent = std::move(s);
            std::this_thread::sleep_for(100ms);
        }
        return Surface(nullptr, SDL_FreeSurface);
    }
    Surface attendEgal(const SDL_Surface* attendu) { return attendEcran([&](auto s) { return egales(s, attendu); }); }
    // Waits for the game's picture (under its data directory) at (x, y).
    Surface attendImage(const std::string& image, int x, int y)
    {
        const Surface s = charge(VELMORA_DONNEES "/image/" + image);
        return attendEcran([&](SDL_Surface* c) { return s && montre(c, s.get(), x, y, echelle); });
    }
};

// In a window doubled by the options file, a hand dealt with the mouse by the
// build's executable started from another directory, two cards marked and
// Escape; then the installed launcher, started from /, resumes the same table
// and draws.
TEST_F(Fenetre, UneMainALaSourisSauveeParEchapPuisReprise)
{
    fs::create_directories(maison + "/.config/velmora");
    std::ofstream(maison + "/.config/velmora/options") << "fenetre=2\n";
    echelle = 2;
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);  // it finds its data beside itself
    EXPECT_NE(xdotool("getwindowgeometry --shell " + fenetre).find("WIDTH=1744\nHEIGHT=976"), std::string::npos);
    // Without a compositor a window hidden and shown again stays black until the game draws it.
    xdotool("windowunmap --sync " + fenetre + " windowmap --sync " + fenetre);
    EXPECT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    // New game, chip 10, the deal, the first and third cards marked.
    for (auto [x, y] : {std::pair{434, 162}, {329, 243}, {461, 459}, {91, 329}, {273, 329}}) clic(x, y);
    const Surface table = attendImage("bouton/boutonGarderDown.bmp", 238, 321);
    ASSERT_TRUE(table);
    quitte();

    commande(CMAKE_COMMAND " --install " VELMORA_CONSTRUCTION " --prefix " + dossier + "_prefixe >/dev/null");
    demarre(dossier + "_prefixe/bin/velmora", "/");
    clic(434, 221);  // Resume
    EXPECT_TRUE(attendEgal(table.get()));
    clic(461, 459);  // draw
    EXPECT_TRUE(attendImage("bouton/boutonRejouerUp.bmp", 385, 440));
    quitte();
}

// With the default settings' animations: a press during the deal held past
// its end, then a click during the draw, only finish them. The first hand
// settles with five faces, the final hand with the kept cards unmoved and
// one row of the pay table lit when won, none when lost.
TEST_F(Fenetre, UneMainAnimeeSEtablitSurLesEcransAttendus)
{
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);
    clic(434, 162), clic(329, 243);  // New game, chip 10
    ASSERT_TRUE(attendImage("bouton/boutonCarteUp.bmp", 385, 440));
    // xdotool takes some 70 ms between its commands: the press lands in the 325 ms deal, the click in the 215 ms draw.
    xdotool("mousemove --window " + fenetre + " 461 459 click 1 mousedown 1 sleep 0.6 mouseup 1");
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(attendImage("texte/texteFirstHand.bmp", 193, 7) && attendImage("bouton/boutonCarteUp.bmp", 385, 440));
    const Surface premiere = charge(capture), dos = charge(VELMORA_DONNEES "/image/carte/back.bmp");
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(montre(premiere.get(), dos.get(), 61 + 91 * i, 221)) << "slot " << i;
    for (int i : {0, 2, 4}) clic(91 + 91 * i, 329);  // marked
    ASSERT_TRUE(attendImage("bouton/boutonGarderDown.bmp", 420, 321));
    xdotool("mousemove --window " + fenetre + " 461 459 click --repeat 2 --delay 40 1");
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(attendImage("bouton/boutonRejouerUp.bmp", 385, 440)) << "the click in the draw replayed";
    const Surface finale = charge(capture), gagne = charge(VELMORA_DONNEES "/image/texte/texteWin.bmp");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(egales(premiere.get(), finale.get(), {static_cast<Sint16>(61 + 91 * i), 221, 62, 100}), i % 2 == 1)
            << "slot " << i;
    int allumees = 0, c = 0;
    for (const char* ligne : {"Paire", "DoublePaire", "Brelan", "Suite", "Couleur", "FullHouse", "Carre", "QuinteFlush",
                              "QuinteFlushRoyal"}) {
        const Surface image = charge(std::string(VELMORA_DONNEES "/image/gains/ligne") + ligne + ".bmp");
        allumees += montre(finale.get(), image.get(), 573, static_cast<int>(162 + 25.6f * (8 - c++)) - 2);
    }
    EXPECT_EQ(allumees, montre(finale.get(), gagne.get(), 193, 7) ? 1 : 0);
    quitte();
}

// A whole game by the mouse, every screen kept; then the same game (the same
// clock, so the same cards) by the keyboard alone, each screen compared with
// the mouse's: start, Help and About and back, Options and two settings, the
// chips from both rows of digits (a key held stakes once), Tapis, Annuler,
// the deal, the marks, the draw, the replay, hands until the credit runs
// out, game over and Continuer, and Enter for a new game once there is
// nothing to resume. Then once more on the French layout, set on the X
// server while the game is connected (the server drops it as its last client
// leaves): the number row typed without Shift, & é " ' (, and the key that
// types A.
TEST_F(Fenetre, UnePartieAuClavierCommeALaSourisEnQwertyEtEnAzerty)
{
    const std::string jeu = "LD_PRELOAD=" VELMORA_TEMPS_FIXE " VELMORA_TEMPS=20261206 " VELMORA_EXECUTABLE;
    const Geste DISTRIBUER{461, 459, "Return"}, TAPIS{434, 243, "t"};
    std::vector<Geste> gestes{
        {60, 439, "F1"}, {60, 470, "BackSpace"}, {60, 470, "F2"}, {60, 470, "Return"},  // Help, About
        {434, 279, "o"}, {358, 217, "m"}, {358, 217, "m"}, {358, 153, "c"}, {60, 470, "space"},  // Options
        {434, 162, "n"}, {80, 243, "1", 'p'}, {80, 243, "1", 'r'}, {163, 243, "KP_2"}, {246, 243, "3", 't'},
        {434, 326, "BackSpace"}, TAPIS, {434, 326, "a"}, {329, 243, "4"}, {80, 326, "5"}, {60, 439, "F1"},
        {60, 470, "BackSpace"}, {461, 459, "Return", 'p'}, {461, 459, "Return", 'r'},  // the deal, pressed, released
        {91, 329, "1"}, {273, 329, "KP_3"}, {60, 470, "F2"}, {60, 470, "space"}, {461, 459, "space"}, DISTRIBUER};
    const std::vector<Geste> main{TAPIS, DISTRIBUER, {182, 329, "2"}, {461, 459, "space"}, {461, 459, "KP_Enter"}};
    const std::vector<Geste> fin{{60, 470, "Return", 'p'}, {60, 470, "Return", 'r'}, {434, 162, "Return"}};
    constexpr std::array azerty{"ampersand", "eacute", "quotedbl", "apostrophe", "parenleft"};  // 1 to 5

    demarre(jeu, VELMORA_CONSTRUCTION);
    std::vector<Surface> ecrans;
    ecrans.push_back(charge(capture));
    const Surface continuer = charge(VELMORA_DONNEES "/image/bouton/boutonContinuerUp.bmp");
    bool fini = false;
    for (std::size_t i = 0; i < gestes.size(); ++i) {
        fais(gestes[i], false);
        ecrans.push_back(attendEcran([&](auto s) { return !egales(s, ecrans.back().get()); }, true));  // a new screen
        ASSERT_TRUE(ecrans.back()) << "no new screen after the mouse's step " << i;
        if (!fini && i + 1 == gestes.size()) {  // a hand replayed: the next one, or game over
            fini = montre(ecrans.back().get(), continuer.get(), 6, 456);
            for (const Geste& g : fini ? fin : main) gestes.push_back(g);
            ASSERT_LT(gestes.size(), 150u) << "the game does not end";
        }
    }
    quitte();

    for (const std::string clavier : {"us", "fr"}) {
        fs::remove_all(maison);  // the settings the mouse changed
        demarre(jeu, VELMORA_CONSTRUCTION);
        commande("DISPLAY=" + ecran + " setxkbmap -layout " + clavier);
        ASSERT_NE(commande("DISPLAY=" + ecran + " setxkbmap -query").find("layout:     " + clavier),
                  std::string::npos);
        ASSERT_TRUE(attendEgal(ecrans[0].get()));
        for (std::size_t i = 0; i < gestes.size(); ++i) {
            Geste g = gestes[i];
            if (const auto n = std::string_view("12345").find(g.touche); clavier == "fr" && n < 5) g.touche = azerty[n];
            fais(g, true);
            ASSERT_TRUE(attendEgal(ecrans[i + 1].get()))
                << clavier << ", step " << i << ", key " << g.touche << " " << g.sorte << ", of " << gestes.size();
        }
        quitte();
    }
}

// The statistics screen of a record as the game's own code draws it, on SDL's dummy display.
Surface ecranBilan(const Bilan& bilan)
{
    TablesConseil tables;
    initTablesConseil(&tables);
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // the game is started without it
    fs::current_path(VELMORA_DONNEES);  // where the game's pictures are
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Surface* ecran = SDL_SetVideoMode(872, 488, 32, SDL_SWSURFACE);
    EtatSurface e;
    initEtatSurface(&e);
    const EtatBilan etatBilan{};
    affichageMenuBilan(ecran, &e, &etatBilan, &bilan, &retour);
    Surface copie(SDL_ConvertSurface(ecran, ecran->format, SDL_SWSURFACE), SDL_FreeSurface);
    SDL_Quit();
    return copie;
}

// Twenty hands on a pinned seed, staked 1 and kept whole (without the cards'
// animations, which would take the queued clicks as finishing presses): the
// file holds them, each paid what it was worth. A new run opens the
// statistics screen: the window shows what the game's code draws for that
// file, numbers, bars and curve. Clear, then Yes, empties file and screen;
// Back goes to the start screen.
TEST_F(Fenetre, VingtMainsPuisLesStatistiques)
{
    const std::string jeu = "LD_PRELOAD=" VELMORA_TEMPS_FIXE " VELMORA_TEMPS=20261206 " VELMORA_EXECUTABLE;
    const std::string fichier = maison + "/.local/share/velmora/statistiques";
    const auto lu = [&] { std::ifstream f(fichier); return std::string{std::istreambuf_iterator<char>(f), {}}; };
    fs::create_directories(maison + "/.config/velmora");
    std::ofstream(maison + "/.config/velmora/options") << "animations=aucune\n";
    demarre(jeu, VELMORA_DONNEES);
    clic(434, 162);  // New game; then chip 1, the deal, the draw and again, each read in its turn before Escape
    for (int main = 0; main < 20; ++main)
        for (auto [x, y] : {std::pair{80, 243}, {461, 459}, {461, 459}, {461, 459}}) clic(x, y);
    quitte();
    Bilan ecrit;
    std::string raison;
    ASSERT_TRUE(lectureBilan(lu(), &ecrit, &raison)) << raison << "\n" << lu();
    EXPECT_EQ((std::array{ecrit.mains, ecrit.misees, ecrit.parties}), (std::array<int64_t, 3>{20, 20, 1}));
    EXPECT_EQ(chanceUnites(&ecrit), 0) << "every hand kept whole paid what it was worth";

    demarre(jeu, VELMORA_DONNEES);
    clic(434, 337);  // Statistiques
    EXPECT_TRUE(attendEgal(ecranBilan(ecrit).get())) << "see " << capture;
    clic(810, 470);  // Effacer
    ASSERT_TRUE(attendImage("bouton/boutonOuiUp.bmp", 286, 272));
    clic(356, 289);  // Oui, effacer
    Bilan vide;
    initBilan(&vide);
    EXPECT_TRUE(attendEgal(ecranBilan(vide).get()));
    EXPECT_EQ(lu(), texteBilan(&vide));
    clic(60, 470);  // Retour
    EXPECT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    quitte();
}

}  // namespace
