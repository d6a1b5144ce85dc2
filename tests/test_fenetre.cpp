// The real executable: start-up failures, and a hand played in a real X
// window on a private Xvfb display, driven by xdotool and read back with import.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Environnement = std::vector<std::pair<std::string, std::string>>;

// Runs a shell command; its standard output without the last newline.
std::string commande(const std::string& ligne)
{
    std::string sortie;
    if (FILE* flux = popen(ligne.c_str(), "r")) {
        for (int c; (c = fgetc(flux)) != EOF;) {
            sortie += static_cast<char>(c);
        }
        pclose(flux);
    }
    while (!sortie.empty() && sortie.back() == '\n') {
        sortie.pop_back();
    }
    return sortie;
}

std::string lit(const std::string& chemin)
{
    std::ostringstream texte;
    texte << std::ifstream(chemin).rdbuf();
    return texte.str();
}

// Starts a program in a directory with the given environment changes (an
// empty value removes the variable), its standard error into a file.
pid_t lance(const std::string& programme, const std::string& dossier, const Environnement& env,
            const std::string& erreurs)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dossier.c_str()) != 0 || freopen(erreurs.c_str(), "w", stderr) == nullptr) {
            _exit(111);
        }
        for (const auto& [nom, valeur] : env) {
            valeur.empty() ? unsetenv(nom.c_str()) : setenv(nom.c_str(), valeur.c_str(), 1);
        }
        execl(programme.c_str(), "velmora", static_cast<char*>(nullptr));
        _exit(112);
    }
    return pid;
}

// The exit status, or -1 (and the process killed) if it runs past the delay.
int attendStatut(pid_t pid, std::chrono::seconds delai)
{
    int statut = 0;
    for (auto fin = std::chrono::steady_clock::now() + delai; std::chrono::steady_clock::now() < fin;) {
        if (waitpid(pid, &statut, WNOHANG) == pid) {
            return WIFEXITED(statut) ? WEXITSTATUS(statut) : 128 + WTERMSIG(statut);
        }
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &statut, 0);
    return -1;
}

TEST(Demarrage, PiloteInconnuOuSansAffichageEchoueAvecLeStatut1)
{
    const std::string erreurs = testing::TempDir() + "velmora_erreurs.txt";
    for (const Environnement& env : {Environnement{{"SDL_VIDEODRIVER", "pilote_inconnu"}},
                                     Environnement{{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}}) {
        EXPECT_EQ(attendStatut(lance(VELMORA_EXECUTABLE, VELMORA_DONNEES, env, erreurs), 30s), 1);
        // SDL itself may write its own complaints first; ours is a line of its own.
        const std::string texte = "\n" + lit(erreurs);
        EXPECT_NE(texte.find("\nErreur d'initialisation de la SDL : "), std::string::npos) << texte;
    }
}

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface charge(const std::string& chemin)
{
    return Surface(SDL_LoadBMP((std::string(VELMORA_DONNEES) + "/" + chemin).c_str()), SDL_FreeSurface);
}

Uint32 rvb(SDL_Surface* s, int x, int y)
{
    Uint32 brut = 0;
    Uint8 r, g, b;
    std::memcpy(&brut, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                s->format->BytesPerPixel);
    SDL_GetRGB(brut, s->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

// Does the picture stand at (x, y) of the screenshot of a window scaled by
// echelle (without smoothing)? One pixel in nine is enough.
bool montre(SDL_Surface* capture, SDL_Surface* image, int x, int y, int echelle = 1)
{
    for (int j = 0; j < image->h; j += 3) {
        for (int i = 0; i < image->w; i += 3) {
            if (rvb(capture, echelle * (x + i), echelle * (y + j)) != rvb(image, i, j)) {
                return false;
            }
        }
    }
    return true;
}

// A private Xvfb display, and the game started on it.
class Fenetre : public testing::Test {
protected:
    std::string ecran, fenetre, erreurs = testing::TempDir() + "velmora_fenetre.txt";
    std::string maison = testing::TempDir() + "velmora_maison_fenetre";  // the saved game lands here
    pid_t xvfb = 0, jeu = 0;

    void SetUp() override
    {
        fs::remove_all(maison);
        for (int n = 91; n < 200 && xvfb == 0; ++n) {
            const std::string prise = "/tmp/.X11-unix/X" + std::to_string(n);
            if (fs::exists(prise) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) {
                continue;
            }
            ecran = ":" + std::to_string(n);
            if ((xvfb = fork()) == 0) {
                if (std::freopen("/dev/null", "w", stderr) != nullptr) {
                    execlp("Xvfb", "Xvfb", ecran.c_str(), "-screen", "0", "2048x1200x24", "-nolisten", "tcp",
                           static_cast<char*>(nullptr));
                }
                _exit(112);
            }
            for (int essai = 0; essai < 100 && !fs::exists(prise); ++essai) {
                std::this_thread::sleep_for(100ms);
            }
        }
        SDL_Init(0);
    }
    void TearDown() override
    {
        for (pid_t pid : {jeu, xvfb}) {
            if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        SDL_Quit();
    }
    void demarre(const std::string& programme, const std::string& dossier, Environnement env = {})
    {
        env.insert(env.end(), {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ecran}, {"HOME", maison}, {"XDG_DATA_HOME", ""}});
        jeu = lance(programme, dossier, env, erreurs);
        fenetre = xdotool("search --sync --name '^Velmora$'");
        ASSERT_FALSE(fenetre.empty()) << lit(erreurs);
    }
    std::string xdotool(const std::string& arguments)
    {
        return commande("DISPLAY=" + ecran + " timeout 20 xdotool " + arguments);
    }
    void clic(int x, int y)
    {
        xdotool("mousemove --window " + fenetre + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    }
    void quitte()
    {
        xdotool("key --window " + fenetre + " Escape");
        EXPECT_EQ(attendStatut(jeu, 20s), 0) << lit(erreurs);
    }
    // Takes screenshots until the condition holds, for at most ten seconds.
    template <typename Condition>
    bool attendEcran(Condition condition)
    {
        const std::string png = testing::TempDir() + "velmora_capture.png";
        for (int essai = 0; essai < 50; ++essai) {
            commande("DISPLAY=" + ecran + " timeout 20 import -window " + fenetre + " png:" + png);
            Surface s(IMG_Load(png.c_str()), SDL_FreeSurface);
            if (s && condition(s.get())) {
                return true;
            }
            std::this_thread::sleep_for(200ms);
        }
        return false;
    }
};

TEST_F(Fenetre, UneMainJoueeALaSourisPuisEchap)
{
    demarre(VELMORA_EXECUTABLE, VELMORA_CONSTRUCTION);  // it finds its data beside itself
    EXPECT_EQ(xdotool("getwindowname " + fenetre), "Velmora");
    const std::string geometrie = xdotool("getwindowgeometry --shell " + fenetre);
    EXPECT_NE(geometrie.find("WIDTH=872\nHEIGHT=488"), std::string::npos) << geometrie;

    Surface nouvellePartie = charge("image/bouton/boutonNewGameUp.bmp");
    ASSERT_TRUE(nouvellePartie);
    const auto start = [&](SDL_Surface* s) { return montre(s, nouvellePartie.get(), 282, 143); };
    EXPECT_TRUE(attendEcran(start));
    // Without a compositor a window hidden and shown again stays black until the game draws it.
    xdotool("windowunmap --sync " + fenetre);
    xdotool("windowmap --sync " + fenetre);
    EXPECT_TRUE(attendEcran(start));

    clic(434, 162);  // New game
    clic(329, 243);  // chip 10
    clic(461, 459);  // deal
    std::vector<Surface> faces;
    for (const char* rang : {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"}) {
        for (const char* couleur : {"Trefle", "Carreau", "Coeur", "Pique"}) {
            faces.push_back(charge(std::string("image/carte/") + rang + couleur + ".bmp"));
            ASSERT_TRUE(faces.back());
        }
    }
    // Every slot shows a card face, five different ones.
    std::array<size_t, 5> vues{};
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) {
        for (int slot = 0; slot < 5; ++slot) {
            auto face = [&](const Surface& f) { return montre(s, f.get(), 61 + 91 * slot, 221); };
            vues[slot] = std::find_if(faces.begin(), faces.end(), face) - faces.begin();
            if (vues[slot] == faces.size()) {
                return false;
            }
        }
        return true;
    }));
    std::sort(vues.begin(), vues.end());
    EXPECT_TRUE(std::adjacent_find(vues.begin(), vues.end()) == vues.end());

    // Two cards marked, Escape: the next run resumes the same table.
    clic(91, 329);
    clic(273, 329);
    Surface changer = charge("image/bouton/boutonGarderDown.bmp");
    ASSERT_TRUE(changer);
    const std::string table = testing::TempDir() + "velmora_table.png";
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, changer.get(), 238, 321); }));
    commande("DISPLAY=" + ecran + " import -window " + fenetre + " -crop 872x300+0+0 png:" + table);
    quitte();
    EXPECT_NE(lit(maison + "/.local/share/velmora/partie").find("\nchanger 1 0 1 0 0\n"), std::string::npos);

    demarre(VELMORA_EXECUTABLE, VELMORA_DONNEES);
    Surface reprendre = charge("image/bouton/boutonResumeUp.bmp");
    ASSERT_TRUE(reprendre);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, reprendre.get(), 282, 202); }));
    clic(434, 221);  // Resume
    Surface avant(IMG_Load(table.c_str()), SDL_FreeSurface);
    ASSERT_TRUE(avant);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, avant.get(), 0, 0); }));
    clic(461, 459);  // draw
    Surface rejouer = charge("image/bouton/boutonRejouerUp.bmp");
    ASSERT_TRUE(rejouer);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, rejouer.get(), 385, 440); }));
    quitte();
}

// Window x2 in the options file: 1744 x 976, and New game clicked at its doubled place opens the table.
TEST_F(Fenetre, TailleDoubleLueDansLesOptions)
{
    fs::create_directories(maison + "/.config/velmora");
    std::ofstream(maison + "/.config/velmora/options") << "fenetre=2\n";
    demarre(VELMORA_EXECUTABLE, VELMORA_DONNEES, {{"XDG_CONFIG_HOME", ""}, {"SDL12COMPAT_SCALE_METHOD", "nearest"}});
    EXPECT_NE(xdotool("getwindowgeometry --shell " + fenetre).find("WIDTH=1744\nHEIGHT=976"), std::string::npos);
    Surface nouvellePartie = charge("image/bouton/boutonNewGameUp.bmp"), carte = charge("image/bouton/boutonCarteDisa.bmp");
    ASSERT_TRUE(nouvellePartie && carte);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, nouvellePartie.get(), 282, 143, 2); }));
    clic(2 * 434, 2 * 162);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, carte.get(), 385, 440, 2); }));
    quitte();
}

TEST_F(Fenetre, LeLanceurInstalleOuvreLeJeuDeNImporteOu)
{
    const std::string prefixe = testing::TempDir() + "velmora_prefixe";
    fs::remove_all(prefixe);
    commande(std::string(CMAKE_COMMAND) + " --install " VELMORA_CONSTRUCTION " --prefix " + prefixe);
    for (const char* fichier : {"share/applications/velmora.desktop", "share/icons/hicolor/32x32/apps/velmora.png",
                                "share/velmora/arial.ttf", "share/velmora/image/carte/asPique.bmp"}) {
        EXPECT_TRUE(fs::exists(prefixe + "/" + fichier)) << fichier;
    }
    demarre(prefixe + "/bin/velmora", "/");
    quitte();
    fs::remove_all(prefixe);
}

}  // namespace
