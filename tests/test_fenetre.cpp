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

}  // namespace
