// The real executable: a hand played and resumed in a real X window on a
// private Xvfb display, driven by xdotool and read back with import; a whole
// game played by the keyboard alone, screen for screen as by the mouse; the
// AZERTY number row.
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
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analyseCarte.h"
#include "bilan.h"
#include "gestionCarte.h"
#include "gestionMenu.h"
#include "gestionMiseGain.h"
#include "interfaceGraphique.h"
#include "main.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Runs a shell command; its standard output without the trailing newlines.
std::string commande(const std::string& ligne)
{
    std::string sortie;
    if (FILE* flux = popen(ligne.c_str(), "r")) {
        for (int c; (c = fgetc(flux)) != EOF;) sortie += static_cast<char>(c);
        pclose(flux);
    }
    sortie.erase(sortie.find_last_not_of('\n') + 1);
    return sortie;
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

bool egales(const SDL_Surface* a, const SDL_Surface* b)
{
    if (a == nullptr || b == nullptr || a->w != b->w || a->h != b->h) return false;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            if (rvb(a, x, y) != rvb(b, x, y)) return false;
    return true;
}

// A button worked by the mouse at (x, y) or by a key (xdotool's name or
// keycode): 'c' a click or a key typed, 'p' the press or key down alone,
// 'r' the release or key up.
struct Geste {
    int x, y;
    std::string touche;
    char sorte = 'c';
};

// A private Xvfb display, and the game started on it with a home of its own.
class Fenetre : public testing::Test {
protected:
    // Named after the test program's process, since other trees' tests may run beside it.
    const std::string dossier = testing::TempDir() + "velmora_fenetre_" + std::to_string(getpid());
    std::string ecran, fenetre, erreurs = dossier + "_erreurs.txt";
    std::string capture = dossier + "_capture.bmp";  // the last screenshot
    std::string maison = dossier + "_maison";  // the saved game lands here
    pid_t xvfb = 0, jeu = 0;
    int echelle = 1;  // the window's scale, for clicks and pictures

    void SetUp() override
    {
        fs::remove_all(maison);
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
        for (const std::string& f : {erreurs, capture, maison}) fs::remove_all(f);
    }
    // The game in a directory, on this display, with this home and its options
    // under it, and an audio driver that cannot open: no sound device.
    void demarre(const std::string& programme, const std::string& dossier)
    {
        jeu = enFond("cd " + dossier + " && exec env -u SDL_VIDEODRIVER -u XDG_DATA_HOME -u XDG_CONFIG_HOME" +
                     " SDL_AUDIODRIVER=aucun SDL12COMPAT_SCALE_METHOD=nearest DISPLAY=" + ecran + " HOME=" + maison +
                     " " + programme + " 2>" + erreurs);
        fenetre = xdotool("search --sync --name '^Velmora$'");
        ASSERT_FALSE(fenetre.empty()) << commande("cat " + erreurs);
    }
    std::string xdotool(const std::string& arguments)
    {
        return commande("DISPLAY=" + ecran + " timeout 20 xdotool " + arguments);
    }
    void clic(int x, int y)
    {
        const std::string place = std::to_string(echelle * x) + " " + std::to_string(echelle * y);
        xdotool("mousemove --window " + fenetre + " " + place + " click 1");
    }
    void fais(const Geste& g, bool clavier)
    {
        const int i = g.sorte == 'c' ? 0 : g.sorte == 'p' ? 1 : 2;
        if (clavier) {
            xdotool(std::string(std::array{"key", "keydown", "keyup"}[i]) + " --window " + fenetre + " " + g.touche);
        } else {
            xdotool("mousemove --window " + fenetre + " " + std::to_string(g.x) + " " + std::to_string(g.y) + " " +
                    std::array{"click", "mousedown", "mouseup"}[i] + " 1");
        }
    }
    // The screen once it differs from `avant` and stays the same over two screenshots.
    Surface ecranNouveau(const SDL_Surface* avant)
    {
        Surface precedent(nullptr, SDL_FreeSurface);
        for (int essai = 0; essai < 50; ++essai) {
            Surface s = photo();
            if (egales(s.get(), precedent.get()) && !egales(s.get(), avant)) return s;
            precedent = std::move(s);
            std::this_thread::sleep_for(100ms);
        }
        return Surface(nullptr, SDL_FreeSurface);
    }
    // Escape ends the game with status 0 within twenty seconds; without a
    // sound device, standard error holds one line that says so.
    void quitte()
    {
        xdotool("key --window " + fenetre + " Escape");
        int statut = -1;
        for (int essai = 0; essai < 200 && waitpid(jeu, &statut, WNOHANG) == 0; ++essai)
            std::this_thread::sleep_for(100ms);
        EXPECT_EQ(statut, 0) << commande("cat " + erreurs);
        EXPECT_EQ(commande("grep -c . " + erreurs) + commande("grep -c '^velmora : pas de son (' " + erreurs), "11")
            << commande("cat " + erreurs);
    }
    // A screenshot, as a bitmap: quicker to write than a PNG.
    Surface photo()
    {
        commande("DISPLAY=" + ecran + " timeout 20 import -window " + fenetre + " bmp3:" + capture);
        return charge(capture);
    }
    // Takes screenshots until the condition holds, for at most ten seconds.
    template <typename Condition>
    bool attendEcran(Condition condition)
    {
        for (int essai = 0; essai < 50; ++essai) {
            Surface s = photo();
            if (s && condition(s.get())) return true;
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }
    // Waits for the game's picture (under its data directory) at (x, y).
    bool attendImage(const std::string& image, int x, int y)
    {
        Surface s = charge(VELMORA_DONNEES "/image/" + image);
        return s && attendEcran([&](SDL_Surface* capture) { return montre(capture, s.get(), x, y, echelle); });
    }
};

// A hand dealt with the mouse in a window doubled by the options file, the
// build's executable started from another directory, two cards marked and
// Escape; then the installed launcher, started from / at the normal size,
// resumes the same table and draws. No sound device answers, and the game
// plays as it would with one.
TEST_F(Fenetre, UneMainALaSourisSauveeParEchapPuisReprise)
{
    fs::create_directories(maison + "/.config/velmora");
    std::ofstream(maison + "/.config/velmora/options") << "fenetre=2\n";
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);  // it finds its data beside itself
    echelle = 2;
    EXPECT_NE(xdotool("getwindowgeometry --shell " + fenetre).find("WIDTH=1744\nHEIGHT=976"), std::string::npos);
    EXPECT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    // Without a compositor a window hidden and shown again stays black until the game draws it.
    xdotool("windowunmap --sync " + fenetre);
    xdotool("windowmap --sync " + fenetre);
    EXPECT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    clic(434, 162);  // New game
    EXPECT_TRUE(attendImage("bouton/boutonCarteDisa.bmp", 385, 440));  // the betting screen

    clic(329, 243);  // chip 10
    clic(461, 459);  // deal
    clic(91, 329);   // the first and third cards marked
    clic(273, 329);
    ASSERT_TRUE(attendImage("bouton/boutonGarderDown.bmp", 238, 321));
    const Surface table = charge(capture);  // the screenshot that showed it
    quitte();

    fs::remove(maison + "/.config/velmora/options");
    const std::string prefixe = dossier + "_prefixe";
    commande(std::string(CMAKE_COMMAND) + " --install " VELMORA_CONSTRUCTION " --prefix " + prefixe + " >/dev/null");
    demarre(prefixe + "/bin/velmora", "/");
    echelle = 1;
    EXPECT_TRUE(attendImage("bouton/boutonResumeUp.bmp", 282, 202));
    clic(434, 221);  // Resume
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(table.get(), s, 0, 0, 2); }));
    clic(461, 459);  // draw
    EXPECT_TRUE(attendImage("bouton/boutonRejouerUp.bmp", 385, 440));
    quitte();
    fs::remove_all(prefixe);
}

// Do two screenshots show the same pixels in card slot i (one in nine)?
bool memePlace(const SDL_Surface* a, const SDL_Surface* b, int i)
{
    for (int y = 221; y < 321; y += 3)
        for (int x = 61 + 91 * i; x < 123 + 91 * i; x += 3)
            if (rvb(a, x, y) != rvb(b, x, y)) return false;
    return true;
}

// With the default settings' animations: a press during the deal held past
// its end, then a click during the draw, only finish them. The first hand
// settles with five faces, the final hand with the kept cards unmoved and
// one row of the pay table lit when won, none when lost.
TEST_F(Fenetre, UneMainAnimeeSEtablitSurLesEcransAttendus)
{
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);
    ASSERT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    clic(434, 162);  // New game
    ASSERT_TRUE(attendImage("bouton/boutonCarteDisa.bmp", 385, 440));
    clic(329, 243);  // chip 10
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
    for (int i = 0; i < 5; ++i) EXPECT_EQ(memePlace(premiere.get(), finale.get(), i), i % 2 == 1) << "slot " << i;
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
// chips from both rows of digits, Tapis, Annuler, the deal, the marks, the
// draw, the replay, hands until the credit runs out, game over and Continuer,
// and Enter for a new game once there is nothing to resume.
TEST_F(Fenetre, UnePartieAuClavierCommeALaSouris)
{
    const std::string jeu = "LD_PRELOAD=" VELMORA_TEMPS_FIXE " VELMORA_TEMPS=20261206 " VELMORA_EXECUTABLE;
    const Geste DISTRIBUER{461, 459, "Return"}, TAPIS{434, 243, "t"};
    std::vector<Geste> gestes{
        {60, 439, "F1"}, {60, 470, "BackSpace"}, {60, 470, "F2"}, {60, 470, "Return"},  // Help, About
        {434, 279, "o"}, {358, 217, "m"}, {358, 217, "m"}, {358, 153, "c"}, {60, 470, "space"},  // Options
        {434, 162, "n"}, {80, 243, "1", 'p'}, {80, 243, "1", 'r'}, {163, 243, "KP_2"}, {246, 243, "3"},
        {434, 326, "BackSpace"}, TAPIS, {434, 326, "a"}, {329, 243, "4"}, {60, 439, "F1"}, {60, 470, "BackSpace"},
        {461, 459, "Return", 'p'}, {461, 459, "Return", 'r'},  // the deal, pressed then released
        {91, 329, "1"}, {273, 329, "KP_3"}, {60, 470, "F2"}, {60, 470, "space"}, {461, 459, "space"}, DISTRIBUER};
    const std::vector<Geste> main{TAPIS, DISTRIBUER, {182, 329, "2"}, {461, 459, "space"}, {461, 459, "KP_Enter"}};
    const std::vector<Geste> fin{{60, 470, "Return", 'p'}, {60, 470, "Return", 'r'}, {434, 162, "Return"}};

    demarre(jeu, VELMORA_CONSTRUCTION);
    ASSERT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    std::vector<Surface> ecrans;
    ecrans.push_back(charge(capture));
    const Surface continuer = charge(VELMORA_DONNEES "/image/bouton/boutonContinuerUp.bmp");
    std::size_t mains = 1;
    bool fini = false;
    for (std::size_t i = 0; i < gestes.size(); ++i) {
        fais(gestes[i], false);
        ecrans.push_back(ecranNouveau(ecrans.back().get()));
        ASSERT_TRUE(ecrans.back()) << "no new screen after the mouse's step " << i;
        if (!fini && i + 1 == gestes.size()) {  // a hand replayed: the next one, or game over
            fini = montre(ecrans.back().get(), continuer.get(), 6, 456);
            for (const Geste& g : fini ? fin : main) gestes.push_back(g);
            ASSERT_LT(mains += !fini, 20u) << "the game does not end";
        }
    }
    quitte();

    fs::remove_all(maison);  // the settings the mouse changed
    demarre(jeu, VELMORA_CONSTRUCTION);
    ASSERT_TRUE(attendEcran([&](SDL_Surface* s) { return egales(s, ecrans[0].get()); }));
    for (std::size_t i = 0; i < gestes.size(); ++i) {
        fais(gestes[i], true);
        ASSERT_TRUE(attendEcran([&](SDL_Surface* s) { return egales(s, ecrans[i + 1].get()); }))
            << "step " << i << ", key " << gestes[i].touche << " " << gestes[i].sorte << ", of " << gestes.size();
    }
    std::cout << gestes.size() << " steps, " << mains << " hands\n";
    quitte();
}

// The French layout set on the X server (the game connected, or the server
// would drop it as its last client leaves): the number row typed without
// Shift, & é " ' ( - è _, stakes the chips 1 to 200 and marks the cards; the
// key that types A is Annuler; a key held stakes once.
TEST_F(Fenetre, ClavierAzerty)
{
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);
    ASSERT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    commande("DISPLAY=" + ecran + " setxkbmap -layout fr");
    ASSERT_NE(commande("DISPLAY=" + ecran + " setxkbmap -query").find("layout:     fr"), std::string::npos);
    const auto touches = [&](const std::string& t) { fais({0, 0, t}, true); };
    const auto souris = [&](int x, int y) { fais({x, y, ""}, false); };
    const auto attendEgal = [&](const Surface& s) {
        return attendEcran([&](SDL_Surface* c) { return egales(c, s.get()); });
    };
    touches("n");
    ASSERT_TRUE(attendImage("bouton/boutonCarteDisa.bmp", 385, 440));
    const Surface rien = charge(capture);

    touches("ampersand eacute quotedbl apostrophe parenleft minus egrave underscore");
    const Surface tout = ecranNouveau(rien.get());
    touches("24");  // A on AZERTY, Q on QWERTY
    EXPECT_TRUE(attendEgal(rien)) << "Annuler";
    for (int x : {80, 163, 246, 329}) souris(x, 243);
    for (int x : {80, 163, 246, 329}) souris(x, 326);
    EXPECT_TRUE(attendEgal(tout)) << "the eight chips";

    touches("24");
    EXPECT_TRUE(attendEgal(rien));
    souris(80, 243);
    const Surface un = ecranNouveau(rien.get());
    touches("24");
    EXPECT_TRUE(attendEgal(rien));
    xdotool("windowfocus --sync " + fenetre + " keydown 10 sleep 1.5 keyup 10");  // held, with the server's repeat
    EXPECT_TRUE(egales(ecranNouveau(rien.get()).get(), un.get())) << "a key held stakes once";

    touches("13 Return");  // chip 10, the deal
    ASSERT_TRUE(attendImage("bouton/boutonGarderUp.bmp", 56, 321));
    const Surface donne = ecranNouveau(rien.get());
    touches("10 12");
    const Surface marquees = ecranNouveau(donne.get());
    touches("10 12");
    EXPECT_TRUE(attendEgal(donne));
    souris(91, 329), souris(273, 329);
    EXPECT_TRUE(attendEgal(marquees)) << "the first and third cards marked";
    touches("space");
    EXPECT_TRUE(attendImage("bouton/boutonRejouerUp.bmp", 385, 440));
    quitte();
}

// The 20 hands that the game deals from this seed, each staked 1 and kept
// whole (its hold worth its payout), valued by the advisor as the game does.
Bilan vingtMains(uint32_t graine, const TablesConseil& tables)
{
    Carte cartes[NB_CARTES];
    Liste sabot, mainJoueur, defausse;
    Statistique statistiques[NB_STATISTIQUES] = {};
    EtatSurface e{};
    initJeu(cartes, &sabot, &mainJoueur, &defausse, statistiques, graine);
    Bilan b;
    initBilan(&b);
    for (int32_t main = 1, credit = CREDIT_INITIAL; main <= 20; ++main) {
        melangeSabot(&sabot, &defausse, &mainJoueur);
        premierTirage(&sabot, &mainJoueur, &e);
        const int32_t c = analyseCarte(&mainJoueur);
        Garde gardes[NB_GARDES];
        analyseGardes(&tables, e.carte, gardes);
        const Garde& m = gardes[meilleureGarde(gardes)];
        credit += multiplicateurs[c] - 1;
        const MainJouee jouee{1, multiplicateurs[c], c, credit, multiplicateurs[c] * UNITE_CONSEIL,
                              m.gain * (UNITE_CONSEIL / m.nbTirages), main};
        ajouteMain(&b, &jouee);
    }
    return b;
}

// The statistics screen of a record as the game's own code draws it, on SDL's dummy display.
Surface ecranBilan(const Bilan& bilan, const RetourConseil& retour)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // the game is started without it
    const fs::path ici = fs::current_path();
    fs::current_path(VELMORA_DONNEES);
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Surface* ecran = SDL_SetVideoMode(872, 488, 32, SDL_SWSURFACE);
    EtatSurface e;
    initEtatSurface(&e);
    const EtatBilan etatBilan{};
    affichageMenuBilan(ecran, &e, &etatBilan, &bilan, &retour);
    Surface copie(SDL_ConvertSurface(ecran, ecran->format, SDL_SWSURFACE), SDL_FreeSurface);
    SDL_Quit();
    fs::current_path(ici);
    return copie;
}

// Twenty hands on a pinned seed, staked 1 and kept whole (without the cards'
// animations, which would take the queued clicks as finishing presses); a new run opens
// the statistics screen: the file holds those hands, and the window shows
// what the game's code draws for that file, numbers, bars and curve. Clear,
// then Yes, empties file and screen; Back goes to the start screen.
TEST_F(Fenetre, VingtMainsPuisLesStatistiques)
{
    constexpr uint32_t graine = 20261206;
    const std::string jeu =
        "LD_PRELOAD=" VELMORA_TEMPS_FIXE " VELMORA_TEMPS=" + std::to_string(graine) + " " VELMORA_EXECUTABLE;
    const std::string fichier = maison + "/.local/share/velmora/statistiques";
    const auto lu = [&] { std::ifstream f(fichier); return std::string{std::istreambuf_iterator<char>(f), {}}; };
    fs::create_directories(maison + "/.config/velmora");
    std::ofstream(maison + "/.config/velmora/options") << "animations=aucune\n";
    demarre(jeu, VELMORA_DONNEES);
    ASSERT_TRUE(attendImage("bouton/boutonStatistiquesUp.bmp", 282, 318));
    clic(434, 162);  // New game
    for (int main = 0; main < 20; ++main)
        for (auto [x, y] : {std::pair{80, 243}, {461, 459}, {461, 459}, {461, 459}})
            clic(x, y);  // chip 1, deal, draw, again
    for (int essai = 0; essai < 100 && lu().find("\nmains 20\n") == std::string::npos; ++essai)
        std::this_thread::sleep_for(100ms);
    quitte();

    TablesConseil tables;
    initTablesConseil(&tables);
    RetourConseil retour;
    analyseRetour(&tables, &retour);
    const Bilan attendu = vingtMains(graine, tables);
    Bilan ecrit;
    std::string raison;
    ASSERT_TRUE(lectureBilan(lu(), &ecrit, &raison)) << raison << "\n" << lu();
    EXPECT_EQ(texteBilan(&ecrit), texteBilan(&attendu));
    EXPECT_EQ((std::array{ecrit.mains, ecrit.misees, ecrit.parties}), (std::array<int64_t, 3>{20, 20, 1}));
    EXPECT_EQ(chanceUnites(&ecrit), 0) << "every hand kept whole paid what it was worth";

    demarre(jeu, VELMORA_DONNEES);
    ASSERT_TRUE(attendImage("bouton/boutonStatistiquesUp.bmp", 282, 318));
    clic(434, 337);  // Statistiques
    const Surface joue = ecranBilan(ecrit, retour);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, joue.get(), 0, 0); })) << "see " << capture;

    clic(810, 470);  // Effacer
    ASSERT_TRUE(attendImage("bouton/boutonOuiUp.bmp", 286, 272));
    clic(356, 289);  // Oui, effacer
    Bilan vide;
    initBilan(&vide);
    const Surface efface = ecranBilan(vide, retour);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, efface.get(), 0, 0); }));
    EXPECT_EQ(lu(), texteBilan(&vide));

    clic(60, 470);  // Retour
    EXPECT_TRUE(attendImage("bouton/boutonNewGameUp.bmp", 282, 143));
    quitte();
}

}  // namespace
