// The real executable: a hand played and resumed in a real X window on a
// private Xvfb display, driven by xdotool and read back with import.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

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

// A private Xvfb display, and the game started on it with a home of its own.
class Fenetre : public testing::Test {
protected:
    std::string ecran, fenetre, erreurs = testing::TempDir() + "velmora_fenetre.txt";
    std::string capture = testing::TempDir() + "velmora_capture.png";  // the last screenshot
    std::string maison = testing::TempDir() + "velmora_maison_fenetre";  // the saved game lands here
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
    }
    // The game in a directory, on this display, with this home and its options under it.
    void demarre(const std::string& programme, const std::string& dossier)
    {
        jeu = enFond("cd " + dossier + " && exec env -u SDL_VIDEODRIVER -u XDG_DATA_HOME -u XDG_CONFIG_HOME" +
                     " SDL12COMPAT_SCALE_METHOD=nearest DISPLAY=" + ecran + " HOME=" + maison + " " + programme +
                     " 2>" + erreurs);
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
    // Escape ends the game with status 0 within twenty seconds.
    void quitte()
    {
        xdotool("key --window " + fenetre + " Escape");
        int statut = -1;
        for (int essai = 0; essai < 200 && waitpid(jeu, &statut, WNOHANG) == 0; ++essai)
            std::this_thread::sleep_for(100ms);
        EXPECT_EQ(statut, 0) << commande("cat " + erreurs);
    }
    // Takes screenshots until the condition holds, for at most ten seconds.
    template <typename Condition>
    bool attendEcran(Condition condition)
    {
        for (int essai = 0; essai < 50; ++essai) {
            commande("DISPLAY=" + ecran + " timeout 20 import -window " + fenetre + " png:" + capture);
            Surface s = charge(capture);
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
// resumes the same table and draws.
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
    const std::string prefixe = testing::TempDir() + "velmora_prefixe";
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

// Twenty hands on a pinned seed, staked 1 and kept whole; a new run opens
// the statistics screen: the file holds those hands, and the window shows
// what the game's code draws for that file, numbers, bars and curve. Clear,
// then Yes, empties file and screen; Back goes to the start screen.
TEST_F(Fenetre, VingtMainsPuisLesStatistiques)
{
    constexpr uint32_t graine = 20261206;
    const std::string jeu = "LD_PRELOAD=" VELMORA_GRAINE_FIXE " VELMORA_TEMPS=" + std::to_string(graine) + " " VELMORA_EXECUTABLE;
    const std::string fichier = maison + "/.local/share/velmora/statistiques";
    const auto lu = [&] { std::ifstream f(fichier); return std::string{std::istreambuf_iterator<char>(f), {}}; };
    demarre(jeu, VELMORA_DONNEES);
    ASSERT_TRUE(attendImage("bouton/boutonStatistiquesUp.bmp", 282, 318));
    clic(434, 162);  // New game
    for (int main = 0; main < 20; ++main)
        for (auto [x, y] : {std::pair{80, 243}, {461, 459}, {461, 459}, {461, 459}}) clic(x, y);  // chip 1, deal, draw, again
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
