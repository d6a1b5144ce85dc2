// The game's pictures as the game reads them: every file the drawing code
// names loads, has the size its input rectangle implies, stays inside the
// window and looks like no other; the chips keep the key colour off the disc,
// text printed over the pictures stays readable, and the generator writes the
// same bytes on every run.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

namespace {

const std::string donnees = VELMORA_DONNEES_TEST;
using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// A picture under image/, converted to 32-bit XRGB so pixels compare as plain integers.
Surface charge(const std::string& nom)
{
    Surface brut(SDL_LoadBMP((donnees + "/image/" + nom).c_str()), SDL_FreeSurface);
    Surface s(brut ? SDL_CreateRGBSurface(SDL_SWSURFACE, brut->w, brut->h, 32, 0xFF0000, 0xFF00, 0xFF, 0) : nullptr, SDL_FreeSurface);
    if (s) SDL_BlitSurface(brut.get(), nullptr, s.get(), nullptr);
    return s;
}

uint32_t pixel(const SDL_Surface* s, int x, int y) { return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFF; }

// The files are prefix + name + look + ".bmp", with this size, or at most that
// much where negative: up to the window's edge from where the game draws them,
// or up to what lies below. The exact sizes fit where the game draws them.
struct Groupe { std::string prefixe; std::vector<std::string> noms, looks; int largeur, hauteur; };
const std::vector<std::string> UD = {"Up", "Down"}, UN = {""};
const Groupe groupes[] = {
    {"background", {"Start", "Option", "Jeu", "Apropos", "Aide", "GameOver"}, UN, 872, 488},
    {"backTexte", UN, UN, 10 - 872, 93 - 488},
    {"bouton/bouton", {"Aide", "Apropo", "Retour", "Continuer"}, UD, 110, 29},
    {"bouton/bouton", {"CarteUp", "CarteDown", "CarteDisa", "RejouerUp", "RejouerDown"}, UN, 154, 39},
    {"bouton/bouton", {"NewGameUp", "NewGameDown", "ResumeUp", "ResumeDown", "ResumeClose", "OptionUp", "OptionDown"}, UN, 306, 39},
    {"bouton/bouton", {"Garder"}, UD, 72, 17},
    {"jeton/jeton", {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"}, UD, 70, 70},
    {"carte/", {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"}, {"Trefle", "Carreau", "Coeur", "Pique"}, 62, 100},
    {"carte/back", UN, UN, 62, 100},
    // The top banner, drawn at (193, 7), is centred and ends above the counters' backdrop (y 93); the
    // bottom ones, drawn at (118, 378), end above the deal button (y 440).
    {"texte/texte", {"Mise", "FirstHand", "Win", "Loose"}, UN, 872 - 2 * 193, 7 - 93},
    {"texte/texte", {"Aide"}, UN, 118 - 872, 378 - 440},
    {"texte/combinaison/texte", {"Rien", "Paire", "DoublePaire", "Brelan", "Suite", "Couleur", "FullHouse", "Carre", "QuinteFlush",
                                 "QuinteFlushRoyal"}, UN, 118 - 872, 378 - 440},
};

// Every picture loads, has its size and looks like no other (so each button's
// looks differ, and the 52 faces and the back). A chip is a disc centred in its
// square: the key colour 0, 150, 0 on every pixel outside it (the corners too)
// and on none inside. The icon is 32 x 32.
TEST(Images, ChaqueFichierSeChargeALaTailleVoulueEtNeRessembleAAucunAutre)
{
    std::map<std::vector<uint32_t>, std::string> vues;
    for (const Groupe& g : groupes)
        for (const std::string& n : g.noms)
            for (const std::string& l : g.looks) {
                const std::string nom = g.prefixe + n + l + ".bmp";
                SCOPED_TRACE(nom);
                Surface s = charge(nom);
                ASSERT_NE(s, nullptr) << SDL_GetError();
                EXPECT_TRUE(g.largeur > 0 ? s->w == g.largeur : s->w <= -g.largeur) << "width " << s->w;
                EXPECT_TRUE(g.hauteur > 0 ? s->h == g.hauteur : s->h <= -g.hauteur) << "height " << s->h;
                std::vector<uint32_t> vue = {static_cast<uint32_t>(s->w), static_cast<uint32_t>(s->h)};
                int clesMalPlacees = 0;
                for (int y = 0; y < s->h; ++y)
                    for (int x = 0; x < s->w; ++x) {
                        vue.push_back(pixel(s.get(), x, y));
                        const float r = std::hypot(x + 0.5f - 35, y + 0.5f - 35);
                        clesMalPlacees += r > 35 ? vue.back() != 0x009600 : r < 32 && vue.back() == 0x009600;
                    }
                EXPECT_TRUE(g.prefixe != "jeton/jeton" || clesMalPlacees == 0) << clesMalPlacees << " misplaced key pixels";
                const auto [autre, nouvelle] = vues.emplace(vue, nom);
                EXPECT_TRUE(nouvelle) << nom << " looks like " << autre->second;
            }
    Surface icone(IMG_Load((donnees + "/image/icon.png").c_str()), SDL_FreeSurface);
    ASSERT_NE(icone, nullptr) << IMG_GetError();
    EXPECT_TRUE(icone->w == 32 && icone->h == 32);
}

// Pressed, a chip drawn over its raised picture looks as it does over the
// bare table: no rim of the raised chip shows around it.
TEST(Images, JetonEnfonceSurLeveCommeSurLaTable)
{
    for (const std::string nom : {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"}) {
        Surface leve = charge("jeton/jeton" + nom + "Up.bmp"), enfonce = charge("jeton/jeton" + nom + "Down.bmp");
        Surface surLeve = charge("backgroundJeu.bmp"), surTable = charge("backgroundJeu.bmp");
        ASSERT_TRUE(leve && enfonce && surLeve && surTable) << nom;
        for (SDL_Surface* jeton : {leve.get(), enfonce.get()}) SDL_SetColorKey(jeton, SDL_SRCCOLORKEY, 0x009600);
        for (auto [jeton, table] : {std::pair{&leve, &surLeve}, {&enfonce, &surLeve}, {&enfonce, &surTable}})
            SDL_BlitSurface(jeton->get(), nullptr, table->get(), nullptr);
        EXPECT_EQ(SDL_memcmp(surLeve->pixels, surTable->pixels, surLeve->h * surLeve->pitch), 0) << nom;
    }
}

// Relative luminance, plus the flare term of the contrast ratio.
double luminance(uint32_t c)
{
    double l = 0.05;
    for (const auto& [decalage, poids] : {std::pair{16, 0.2126}, {8, 0.7152}, {0, 0.0722}}) {
        const double v = (c >> decalage & 0xFF) / 255.0;
        l += poids * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l;
}

// Where the game prints text over a picture, the picture under the whole text
// box leaves it readable (contrast ratio at least 4.5): the seven counters at
// their widest value in gold on their backdrop, the address and the version in
// near-white. Each counter lies on its slot: every row under it is of one
// colour (no slot edge, rule or frame).
TEST(Images, LesTextesDuJeuRestentLisiblesSurLeurFond)
{
    ASSERT_EQ(TTF_Init(), 0);
    struct Zone { const char *image, *texte; int xImage, yImage, points, x, y; uint32_t couleur; };
    std::vector<Zone> zones = {{"backgroundAide.bmp", "https://velmora.example.org", 0, 0, 12, 275, 380, 0xF7F7F7},
                               {"backgroundApropos.bmp", "https://velmora.example.org", 0, 0, 20, 101, 359, 0xF7F7F7},
                               {"backgroundApropos.bmp", "1.0", 0, 0, 20, 126, 183, 0xF7F7F7}};
    for (const auto& [points, x, y] : {std::tuple{18, 140, 108}, {18, 84, 131}, {18, 84, 155}, {14, 452, 108}, {14, 452, 127}, {14, 335, 144}, {14, 335, 162}})
        zones.push_back({"backTexte.bmp", "2147483647", 10, 93, points, x, y, 0xF7C911});
    for (const Zone& z : zones) {
        SCOPED_TRACE(std::string(z.image) + " under " + z.texte);
        TTF_Font* f = TTF_OpenFont((donnees + "/arial.ttf").c_str(), z.points);
        ASSERT_NE(f, nullptr);
        int l = 0, h = 0;
        TTF_SizeText(f, z.texte, &l, &h);
        // Glyphs of digits and lower case sit below the line gap and above the descent.
        const int haut = TTF_FontAscent(f) - z.points * 3 / 4, bas = TTF_FontAscent(f) + (z.texte[0] == '8' ? 0 : -TTF_FontDescent(f));
        TTF_CloseFont(f);
        Surface s = charge(z.image);
        ASSERT_NE(s, nullptr);
        double pire = 100;
        for (int y = z.y + haut - z.yImage; y < z.y + bas - z.yImage; ++y)
            for (int x = z.x - z.xImage; x < z.x + l - z.xImage; ++x) {
                ASSERT_TRUE(x >= 0 && y >= 0 && x < s->w && y < s->h) << "text box leaves the picture at " << x << "," << y;
                const double a = luminance(pixel(s.get(), x, y)), b = luminance(z.couleur);
                pire = std::min(pire, std::max(a, b) / std::min(a, b));
                ASSERT_TRUE(z.couleur != 0xF7C911 || pixel(s.get(), x, y) == pixel(s.get(), z.x - z.xImage, y))
                    << "the counter leaves its slot at " << x + z.xImage << "," << y + z.yImage;
            }
        EXPECT_GE(pire, 4.5);
    }
    TTF_Quit();
}

// A fresh run of the generator writes the same bytes as the build did, but
// for the Help background, which prints the --retour text.
TEST(Images, LeGenerateurEstDeterministe)
{
    namespace fs = std::filesystem;
    auto contenu = [](const fs::path& p) { std::ifstream f(p, std::ios::binary); return std::string(std::istreambuf_iterator<char>(f), {}); };
    const fs::path dossier = fs::temp_directory_path() / ("velmora-images-" + std::to_string(getpid()));
    ASSERT_EQ(std::system((std::string(GENERE_IMAGES) + " " + dossier.string() + " --retour 'essai'").c_str()), 0);
    int fichiers = 0;
    for (const auto& e : fs::recursive_directory_iterator(dossier)) {
        if (!e.is_regular_file()) continue;
        ++fichiers;
        const fs::path relatif = fs::relative(e.path(), dossier);
        EXPECT_EQ(contenu(e.path()) == contenu(fs::path(donnees) / relatif), relatif != "image/backgroundAide.bmp") << relatif;
    }
    EXPECT_EQ(fichiers, 128);
    fs::remove_all(dossier);
}

}  // namespace
