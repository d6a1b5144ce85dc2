// The game's pictures as the game reads them: every file the drawing code
// names loads, has the size its input rectangle implies, stays inside the
// window, and the pictures that must differ do.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const std::string donnees = VELMORA_DONNEES_TEST;

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Loaded and converted to 32-bit XRGB, so pixels compare as plain integers.
Surface charge(const std::string& nom)
{
    SDL_Surface* brut = SDL_LoadBMP((donnees + "/" + nom).c_str());
    if (!brut) return Surface(nullptr, SDL_FreeSurface);
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, brut->w, brut->h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_BlitSurface(brut, nullptr, s, nullptr);
    SDL_FreeSurface(brut);
    return Surface(s, SDL_FreeSurface);
}

uint32_t pixel(const SDL_Surface* s, int x, int y)
{
    return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFF;
}

std::vector<uint32_t> pixels(const SDL_Surface* s)
{
    std::vector<uint32_t> v;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) v.push_back(pixel(s, x, y));
    return v;
}

// A picture, where the game draws it, and the size it must have (0: free,
// checked only against the window; a negative height: at most that much).
struct Attendu {
    std::string nom;
    int x, y, largeur, hauteur;
};

std::vector<Attendu> attendus()
{
    std::vector<Attendu> a;
    for (const char* f : {"Start", "Option", "Jeu", "Apropos", "Aide", "GameOver"})
        a.push_back({std::string("image/background") + f + ".bmp", 0, 0, 872, 488});
    a.push_back({"image/backTexte.bmp", 10, 93, 0, 0});
    struct Bouton {
        const char* nom;
        int x, y, l, h;
        std::vector<const char*> looks;
    };
    const Bouton boutons[] = {
        {"Aide", 6, 425, 110, 29, {"Up", "Down"}},          {"Apropo", 6, 456, 110, 29, {"Up", "Down"}},
        {"Retour", 6, 456, 110, 29, {"Up", "Down"}},        {"Continuer", 6, 456, 110, 29, {"Up", "Down"}},
        {"Carte", 385, 440, 154, 39, {"Up", "Down", "Disa"}}, {"Rejouer", 385, 440, 154, 39, {"Up", "Down"}},
        {"NewGame", 282, 143, 306, 39, {"Up", "Down"}},     {"Resume", 282, 202, 306, 39, {"Up", "Down", "Close"}},
        {"Option", 282, 260, 306, 39, {"Up", "Down"}}};
    for (const Bouton& b : boutons)
        for (const char* l : b.looks) a.push_back({std::string("image/bouton/bouton") + b.nom + l + ".bmp", b.x, b.y, b.l, b.h});
    for (int i = 0; i < 5; ++i)
        for (const char* l : {"Up", "Down"})
            a.push_back({std::string("image/bouton/boutonGarder") + l + ".bmp", 56 + 91 * i, 321, 72, 17});
    const char* jetons[] = {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"};
    const int xJeton[] = {46, 129, 212, 295, 46, 129, 212, 295, 400, 400};
    const int yJeton[] = {209, 209, 209, 209, 292, 292, 292, 292, 209, 292};
    for (int k = 0; k < 10; ++k)
        for (const char* l : {"Up", "Down"})
            a.push_back({std::string("image/jeton/jeton") + jetons[k] + l + ".bmp", xJeton[k], yJeton[k], 70, 70});
    const char* rangs[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"};
    const char* couleurs[] = {"Trefle", "Carreau", "Coeur", "Pique"};
    for (int i = 0; i < 5; ++i) {
        for (const char* r : rangs)
            for (const char* c : couleurs) a.push_back({std::string("image/carte/") + r + c + ".bmp", 61 + 91 * i, 221, 62, 100});
        a.push_back({"image/carte/back.bmp", 61 + 91 * i, 221, 62, 100});
    }
    // The top banner is centred and ends above the counters' backdrop; the
    // bottom one ends above the deal button.
    for (const char* t : {"Mise", "FirstHand", "Win", "Loose"})
        a.push_back({std::string("image/texte/texte") + t + ".bmp", 193, 7, 486, -(93 - 7)});
    a.push_back({"image/texte/texteAide.bmp", 118, 378, 0, -(440 - 378)});
    for (const char* c : {"Rien", "Paire", "DoublePaire", "Brelan", "Suite", "Couleur", "FullHouse", "Carre",
                          "QuinteFlush", "QuinteFlushRoyal"})
        a.push_back({std::string("image/texte/combinaison/texte") + c + ".bmp", 118, 378, 0, -(440 - 378)});
    return a;
}

TEST(Images, ChaqueFichierSeChargeALaTailleVoulueDansLaFenetre)
{
    std::vector<Attendu> a = attendus();
    std::set<std::string> distincts;
    for (const Attendu& e : a) {
        SCOPED_TRACE(e.nom);
        distincts.insert(e.nom);
        Surface s = charge(e.nom);
        ASSERT_NE(s, nullptr) << SDL_GetError();
        if (e.largeur > 0) {
            EXPECT_EQ(s->w, e.largeur);
        }
        if (e.hauteur > 0) {
            EXPECT_EQ(s->h, e.hauteur);
        } else if (e.hauteur < 0) {
            EXPECT_LE(s->h, -e.hauteur);
        }
        EXPECT_LE(e.x + s->w, 872);
        EXPECT_LE(e.y + s->h, 488);
    }
    EXPECT_EQ(distincts.size(), 117u);
}

TEST(Images, LesCinquanteDeuxFacesEtLeDosSontTousDifferents)
{
    std::vector<std::vector<uint32_t>> vues;
    std::vector<std::string> noms;
    for (const Attendu& e : attendus())
        if (e.nom.rfind("image/carte/", 0) == 0 && e.x == 61) {
            Surface s = charge(e.nom);
            ASSERT_NE(s, nullptr) << e.nom;
            vues.push_back(pixels(s.get()));
            noms.push_back(e.nom);
        }
    ASSERT_EQ(vues.size(), 53u);
    for (size_t i = 0; i < vues.size(); ++i)
        for (size_t j = i + 1; j < vues.size(); ++j) EXPECT_NE(vues[i], vues[j]) << noms[i] << " = " << noms[j];
}

TEST(Images, ChaqueBoutonChangeDAspectQuandOnLEnfonce)
{
    const std::vector<std::pair<std::string, std::string>> paires = [] {
        std::vector<std::pair<std::string, std::string>> p;
        for (const char* b : {"Aide", "Apropo", "Retour", "Continuer", "Carte", "Rejouer", "NewGame", "Resume", "Option", "Garder"})
            p.emplace_back(std::string("image/bouton/bouton") + b + "Up.bmp", std::string("image/bouton/bouton") + b + "Down.bmp");
        for (const char* j : {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"})
            p.emplace_back(std::string("image/jeton/jeton") + j + "Up.bmp", std::string("image/jeton/jeton") + j + "Down.bmp");
        // The disabled looks must not pass for the usable ones either.
        p.emplace_back("image/bouton/boutonCarteUp.bmp", "image/bouton/boutonCarteDisa.bmp");
        p.emplace_back("image/bouton/boutonResumeUp.bmp", "image/bouton/boutonResumeClose.bmp");
        return p;
    }();
    for (const auto& [up, down] : paires) {
        Surface a = charge(up), b = charge(down);
        ASSERT_TRUE(a && b) << up;
        EXPECT_NE(pixels(a.get()), pixels(b.get())) << up << " looks like " << down;
    }
}

// The chip is a disc centred in its 70 x 70 square: outside it only the key
// colour 0, 150, 0; inside it never.
TEST(Images, LesJetonsNePortentLaCouleurCleQueHorsDuDisque)
{
    constexpr uint32_t cle = 0x009600;
    for (const Attendu& e : attendus()) {
        if (e.nom.rfind("image/jeton/", 0) != 0) continue;
        SCOPED_TRACE(e.nom);
        Surface s = charge(e.nom);
        ASSERT_NE(s, nullptr);
        int horsDisque = 0, dansDisque = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) {
                float d = std::hypot(x + 0.5f - 35.0f, y + 0.5f - 35.0f);
                bool estCle = pixel(s.get(), x, y) == cle;
                if (d > 35.0f) horsDisque += !estCle;
                if (d < 32.0f) dansDisque += estCle;
            }
        EXPECT_EQ(horsDisque, 0) << "pixels outside the chip that are not the key";
        EXPECT_EQ(dansDisque, 0) << "pixels of the chip that are the key";
        for (auto [x, y] : {std::pair{0, 0}, {69, 0}, {0, 69}, {69, 69}}) EXPECT_EQ(pixel(s.get(), x, y), cle);
    }
}

TEST(Images, LIconeEstUnPngDe32Sur32)
{
    SDL_Surface* icone = IMG_Load((donnees + "/image/icon.png").c_str());
    ASSERT_NE(icone, nullptr) << IMG_GetError();
    EXPECT_EQ(icone->w, 32);
    EXPECT_EQ(icone->h, 32);
    SDL_FreeSurface(icone);
}

// Contrast ratio of two colours, as accessibility guidelines define it.
double luminance(uint32_t c)
{
    auto canal = [](uint32_t v) {
        double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canal(c >> 16 & 0xFF) + 0.7152 * canal(c >> 8 & 0xFF) + 0.0722 * canal(c & 0xFF);
}
double contraste(uint32_t a, uint32_t b)
{
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Where the game prints text over a picture, the picture under the whole
// text box must leave it readable: the counters up to seven digits in gold
// on the backdrop, the address and the version in near-white.
TEST(Images, LesTextesDuJeuRestentLisiblesSurLeurFond)
{
    ASSERT_EQ(TTF_Init(), 0);
    struct Zone {
        const char* image;
        int xImage, yImage;
        const char* texte;
        int points, x, y;
        uint32_t couleur;
    };
    constexpr uint32_t or_ = 0xF7C911, blanc = 0xF7F7F7;
    const Zone zones[] = {
        {"image/backTexte.bmp", 10, 93, "8888888", 18, 140, 108, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 18, 84, 131, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 18, 84, 155, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 14, 452, 108, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 14, 452, 127, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 14, 335, 144, or_},
        {"image/backTexte.bmp", 10, 93, "8888888", 14, 335, 162, or_},
        {"image/backgroundAide.bmp", 0, 0, "https://velmora.example.org", 12, 275, 380, blanc},
        {"image/backgroundApropos.bmp", 0, 0, "https://velmora.example.org", 20, 101, 359, blanc},
        {"image/backgroundApropos.bmp", 0, 0, "1.0", 20, 126, 183, blanc},
    };
    for (const Zone& z : zones) {
        SCOPED_TRACE(std::string(z.image) + " under " + z.texte);
        TTF_Font* f = TTF_OpenFont((donnees + "/arial.ttf").c_str(), z.points);
        ASSERT_NE(f, nullptr);
        int l = 0, h = 0;
        TTF_SizeText(f, z.texte, &l, &h);
        // Glyphs of digits and lower case sit below the line gap and above the descent.
        int haut = TTF_FontAscent(f) - z.points * 3 / 4, bas = TTF_FontAscent(f) + (z.texte[0] == '8' ? 0 : -TTF_FontDescent(f));
        TTF_CloseFont(f);
        Surface s = charge(z.image);
        ASSERT_NE(s, nullptr);
        double pire = 100;
        for (int y = z.y + haut; y < z.y + bas; ++y)
            for (int x = z.x; x < z.x + l; ++x) {
                int px = x - z.xImage, py = y - z.yImage;
                ASSERT_TRUE(px >= 0 && py >= 0 && px < s->w && py < s->h) << "text box leaves the picture at " << x << "," << y;
                pire = std::min(pire, contraste(pixel(s.get(), px, py), z.couleur));
            }
        EXPECT_GE(pire, 4.5);
    }
    TTF_Quit();
}

std::string contenu(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Another run of the generator writes the same bytes as the build did, and
// --retour changes the Help background alone.
TEST(Images, LeGenerateurEstDeterministe)
{
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("velmora-images-" + std::to_string(getpid()));
    const std::string generateur = GENERE_IMAGES;
    ASSERT_EQ(std::system((generateur + " " + (base / "a").string()).c_str()), 0);
    ASSERT_EQ(std::system((generateur + " " + (base / "b").string() + " --retour '99,12 %'").c_str()), 0);
    int fichiers = 0;
    for (const auto& e : fs::recursive_directory_iterator(base / "a")) {
        if (!e.is_regular_file()) continue;
        ++fichiers;
        fs::path relatif = fs::relative(e.path(), base / "a");
        const bool aide = relatif == "image/backgroundAide.bmp";
        EXPECT_EQ(contenu(e.path()) == contenu(base / "b" / relatif), !aide) << relatif;
        // The build may have drawn the Help screen with its own --retour.
        if (!aide) {
            EXPECT_EQ(contenu(e.path()), contenu(fs::path(donnees) / relatif)) << relatif;
        }
    }
    EXPECT_EQ(fichiers, 118);
    fs::remove_all(base);
}

}  // namespace
