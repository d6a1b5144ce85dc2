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
#include <cstring>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Resultat {
    int statut;
    std::string sortie;
};

// Runs a shell command and returns its exit status and standard output.
Resultat commande(const std::string& ligne)
{
    Resultat r{-1, ""};
    FILE* flux = popen(ligne.c_str(), "r");
    if (flux == nullptr) {
        return r;
    }
    std::array<char, 256> tampon{};
    while (fgets(tampon.data(), tampon.size(), flux) != nullptr) {
        r.sortie += tampon.data();
    }
    const int statut = pclose(flux);
    r.statut = WIFEXITED(statut) ? WEXITSTATUS(statut) : -1;
    while (!r.sortie.empty() && r.sortie.back() == '\n') {
        r.sortie.pop_back();
    }
    return r;
}

using Environnement = std::vector<std::pair<std::string, std::string>>;

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

// The game as ./run.sh starts it: from its data directory.
pid_t lanceJeu(const Environnement& env, const std::string& erreurs)
{
    return lance(VELMORA_EXECUTABLE, VELMORA_DONNEES, env, erreurs);
}

// Waits at most `delai` for the process; -1 if it is still running.
int attendStatut(pid_t pid, std::chrono::seconds delai)
{
    const auto fin = std::chrono::steady_clock::now() + delai;
    int statut = 0;
    while (std::chrono::steady_clock::now() < fin) {
        if (waitpid(pid, &statut, WNOHANG) == pid) {
            return WIFEXITED(statut) ? WEXITSTATUS(statut) : 128 + WTERMSIG(statut);
        }
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &statut, 0);
    return -1;
}

std::string lit(const std::string& chemin)
{
    return commande("cat '" + chemin + "'").sortie;
}

TEST(Demarrage, PiloteInconnuOuSansAffichageEchoueAvecLeStatut1)
{
    const std::string erreurs = testing::TempDir() + "velmora_erreurs.txt";
    const std::vector<Environnement> cas = {
        {{"SDL_VIDEODRIVER", "pilote_inconnu"}},
        {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
    };
    for (const auto& env : cas) {
        EXPECT_EQ(attendStatut(lanceJeu(env, erreurs), 30s), 1);
        // SDL itself may write its own complaints first; ours is a line of its own.
        const std::string texte = "\n" + lit(erreurs);
        EXPECT_NE(texte.find("\nErreur d'initialisation de la SDL : "), std::string::npos) << texte;
    }
}

// A private X server on the first free display number.
class Xvfb {
public:
    Xvfb()
    {
        for (int n = 91; n < 200 && pid_ == 0; ++n) {
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) {
                continue;
            }
            ecran_ = ":" + std::to_string(n);
            pid_ = fork();
            if (pid_ == 0) {
                if (freopen("/dev/null", "w", stderr) == nullptr) {
                    _exit(111);
                }
                execlp("Xvfb", "Xvfb", ecran_.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
                _exit(112);
            }
            for (int essai = 0; essai < 100 && !fs::exists("/tmp/.X11-unix/X" + std::to_string(n)); ++essai) {
                std::this_thread::sleep_for(100ms);
            }
        }
    }
    ~Xvfb()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& ecran() const { return ecran_; }

private:
    pid_t pid_ = 0;
    std::string ecran_;
};

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

Surface charge(const std::string& chemin)
{
    const std::string complet = std::string(VELMORA_DONNEES) + "/" + chemin;
    return Surface(SDL_LoadBMP(complet.c_str()), SDL_FreeSurface);
}

Uint32 pixel(SDL_Surface* s, int x, int y)
{
    Uint8 r, g, b;
    SDL_LockSurface(s);
    const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 brut = 0;
    std::memcpy(&brut, p, s->format->BytesPerPixel);
    SDL_UnlockSurface(s);
    SDL_GetRGB(brut, s->format, &r, &g, &b);
    return (r << 16) | (g << 8) | b;
}

// Does the picture stand at (x, y) of the screenshot, pixel for pixel?
bool montre(SDL_Surface* capture, SDL_Surface* image, int x, int y)
{
    for (int j = 0; j < image->h; j += 3) {
        for (int i = 0; i < image->w; i += 3) {
            if (pixel(capture, x + i, y + j) != pixel(image, i, j)) {
                return false;
            }
        }
    }
    return true;
}

class Fenetre : public testing::Test {
protected:
    Xvfb x;
    pid_t jeu = 0;
    std::string fenetre;
    std::string erreurs = testing::TempDir() + "velmora_fenetre.txt";

    void SetUp() override
    {
        ASSERT_FALSE(x.ecran().empty());
        SDL_Init(0);
        jeu = lanceJeu({{"SDL_VIDEODRIVER", ""}, {"DISPLAY", x.ecran()}}, erreurs);
        fenetre = xdotool("search --sync --name '^Velmora$'").sortie;
        ASSERT_FALSE(fenetre.empty()) << lit(erreurs);
    }
    void TearDown() override
    {
        if (jeu > 0 && waitpid(jeu, nullptr, WNOHANG) == 0) {
            kill(jeu, SIGKILL);
            waitpid(jeu, nullptr, 0);
        }
        SDL_Quit();
    }
    Resultat xdotool(const std::string& arguments)
    {
        return commande("DISPLAY=" + x.ecran() + " timeout 20 xdotool " + arguments);
    }
    void clic(int x, int y)
    {
        xdotool("mousemove --window " + fenetre + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    }
    Surface capture()
    {
        const std::string png = testing::TempDir() + "velmora_capture.png";
        commande("DISPLAY=" + x.ecran() + " timeout 20 import -window " + fenetre + " png:" + png);
        return Surface(IMG_Load(png.c_str()), SDL_FreeSurface);
    }
    // Takes screenshots until the condition holds, for at most ten seconds.
    template <typename Condition>
    bool attendEcran(Condition condition)
    {
        for (int essai = 0; essai < 50; ++essai) {
            Surface s = capture();
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
    EXPECT_EQ(xdotool("getwindowname " + fenetre).sortie, "Velmora");
    const std::string geometrie = xdotool("getwindowgeometry --shell " + fenetre).sortie;
    EXPECT_NE(geometrie.find("WIDTH=872"), std::string::npos) << geometrie;
    EXPECT_NE(geometrie.find("HEIGHT=488"), std::string::npos) << geometrie;

    Surface bouton = charge("image/bouton/boutonNewGameUp.bmp");
    ASSERT_TRUE(bouton);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, bouton.get(), 282, 143); }));

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
    std::array<int, 5> vues{};
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) {
        for (int slot = 0; slot < 5; ++slot) {
            vues[slot] = -1;
            for (size_t f = 0; f < faces.size() && vues[slot] < 0; ++f) {
                vues[slot] = montre(s, faces[f].get(), 61 + 91 * slot, 221) ? static_cast<int>(f) : -1;
            }
            if (vues[slot] < 0) {
                return false;
            }
        }
        return true;
    }));
    std::sort(vues.begin(), vues.end());
    EXPECT_TRUE(std::adjacent_find(vues.begin(), vues.end()) == vues.end());

    clic(91, 329);   // exchange the first card
    clic(461, 459);  // draw
    Surface rejouer = charge("image/bouton/boutonRejouerUp.bmp");
    ASSERT_TRUE(rejouer);
    EXPECT_TRUE(attendEcran([&](SDL_Surface* s) { return montre(s, rejouer.get(), 385, 440); }));

    xdotool("key --window " + fenetre + " Escape");
    EXPECT_EQ(attendStatut(jeu, 20s), 0) << lit(erreurs);
}

TEST(Installation, LeLanceurInstalleOuvreLeJeuDeNImporteOu)
{
    const std::string prefixe = testing::TempDir() + "velmora_prefixe";
    fs::remove_all(prefixe);
    ASSERT_EQ(commande(std::string(CMAKE_COMMAND) + " --install " VELMORA_CONSTRUCTION " --prefix " + prefixe +
                       " >/dev/null").statut, 0);
    for (const char* fichier : {"share/applications/velmora.desktop", "share/icons/hicolor/32x32/apps/velmora.png",
                                "share/velmora/arial.ttf", "share/velmora/image/carte/asPique.bmp"}) {
        EXPECT_TRUE(fs::exists(prefixe + "/" + fichier)) << fichier;
    }

    Xvfb x;
    ASSERT_FALSE(x.ecran().empty());
    const std::string erreurs = testing::TempDir() + "velmora_installe.txt";
    const pid_t jeu = lance(prefixe + "/bin/velmora", "/", {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", x.ecran()}}, erreurs);
    const std::string xdotool = "DISPLAY=" + x.ecran() + " timeout 20 xdotool ";
    const std::string fenetre = commande(xdotool + "search --sync --name '^Velmora$'").sortie;
    ASSERT_FALSE(fenetre.empty()) << lit(erreurs);
    commande(xdotool + "key --window " + fenetre + " Escape");
    EXPECT_EQ(attendStatut(jeu, 20s), 0) << lit(erreurs);
    fs::remove_all(prefixe);
}

}  // namespace
