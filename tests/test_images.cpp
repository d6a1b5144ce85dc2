// The game's pictures as the generator writes them and the game reads them:
// every file the drawing code names loads, at the size its place implies, and
// looks like no other; a chip is a disc on the key colour and, pressed, hides
// the raised chip under it; the widest counters fit their slots; the generator
// writes the same bytes on every run.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace {

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// A picture under image/, converted to 32-bit XRGB so pixels compare as plain integers.
Surface charge(const std::string& nom)
{
    Surface brut(SDL_LoadBMP((VELMORA_DONNEES_TEST "/image/" + nom).c_str()), SDL_FreeSurface);
    Surface s(brut ? SDL_CreateRGBSurface(SDL_SWSURFACE, brut->w, brut->h, 32, 0xFF0000, 0xFF00, 0xFF, 0) : nullptr, SDL_FreeSurface);
    if (s) SDL_BlitSurface(brut.get(), nullptr, s.get(), nullptr);
    return s;
}

uint32_t pixel(const SDL_Surface* s, int x, int y) { return static_cast<const uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFF; }

// The files are prefix + name + look + ".bmp", with this size, or at most that
// much where negative: up to the window's edge from where the game draws them,
// or up to what lies below. The exact sizes fit where the game draws them.
struct Groupe { std::string prefixe; std::vector<std::string> noms, looks; int largeur, hauteur; };
const std::vector<std::string> UD = {"Up", "Down"}, UN = {""}, JETONS = {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"};
const Groupe groupes[] = {
    {"background", {"Start", "Option", "Jeu", "Apropos", "Aide", "GameOver", "Bilan"}, UN, 872, 488},
    {"backTexte", UN, UN, 10 - 872, 93 - 488},
    {"bouton/bouton", {"Aide", "Apropo", "Retour", "Continuer", "Effacer"}, UD, 110, 29},
    {"bouton/bouton", {"CarteUp", "CarteDown", "CarteDisa", "RejouerUp", "RejouerDown"}, UN, 154, 39},
    {"bouton/bouton", {"NewGameUp", "NewGameDown", "ResumeUp", "ResumeDown", "ResumeClose", "OptionUp", "OptionDown",
                       "StatistiquesUp", "StatistiquesDown"}, UN, 306, 39},
    // The statistics screen's question and its answers.
    {"bilan/confirmation", UN, UN, 400, 160},
    {"bouton/bouton", {"Oui", "Non"}, UD, 140, 34},
    {"bouton/bouton", {"Garder"}, UD, 72, 17},
    {"jeton/jeton", JETONS, UD, 70, 70},
    {"carte/", {"2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "as"}, {"Trefle", "Carreau", "Coeur", "Pique"}, 62, 100},
    {"carte/back", UN, UN, 62, 100},
    // The table under the five slots, and the pay table's rows lit, drawn at x 573 over their rows.
    {"carte/places", UN, UN, 4 * 91 + 62, 100},
    {"gains/ligne", {"Paire", "DoublePaire", "Brelan", "Suite", "Couleur", "FullHouse", "Carre", "QuinteFlush", "QuinteFlushRoyal"},
     UN, 280, 30},
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
// and on none inside.
TEST(Images, ChaqueFichierSeChargeALaTailleVoulueEtNeRessembleAAucunAutre)
{
    std::map<std::vector<uint32_t>, std::string> vues;
    for (const Groupe& g : groupes)
        for (const std::string& n : g.noms)
            for (const std::string& l : g.looks) {
                const std::string nom = g.prefixe + n + l + ".bmp";
                Surface s = charge(nom);
                ASSERT_NE(s, nullptr) << nom << ": " << SDL_GetError();
                EXPECT_TRUE(g.largeur > 0 ? s->w == g.largeur : s->w <= -g.largeur) << nom << " width " << s->w;
                EXPECT_TRUE(g.hauteur > 0 ? s->h == g.hauteur : s->h <= -g.hauteur) << nom << " height " << s->h;
                std::vector<uint32_t> vue = {static_cast<uint32_t>(s->w), static_cast<uint32_t>(s->h)};
                int clesMalPlacees = 0;
                for (int y = 0; y < s->h; ++y)
                    for (int x = 0; x < s->w; ++x) {
                        vue.push_back(pixel(s.get(), x, y));
                        const float r = std::hypot(x + 0.5f - 35, y + 0.5f - 35);
                        clesMalPlacees += r > 35 ? vue.back() != 0x009600 : r < 32 && vue.back() == 0x009600;
                    }
                EXPECT_TRUE(g.prefixe != "jeton/jeton" || clesMalPlacees == 0) << nom << ": " << clesMalPlacees << " misplaced key pixels";
                const auto [autre, nouvelle] = vues.emplace(vue, nom);
                EXPECT_TRUE(nouvelle) << nom << " looks like " << autre->second;
            }
}

// Pressed, a chip drawn over its raised picture looks as it does over the
// bare table: no rim of the raised chip shows around it.
TEST(Images, JetonEnfonceSurLeveCommeSurLaTable)
{
    for (const std::string& nom : JETONS) {
        Surface leve = charge("jeton/jeton" + nom + "Up.bmp"), enfonce = charge("jeton/jeton" + nom + "Down.bmp");
        Surface surLeve = charge("backgroundJeu.bmp"), surTable = charge("backgroundJeu.bmp");
        ASSERT_TRUE(leve && enfonce && surLeve && surTable) << nom;
        for (SDL_Surface* jeton : {leve.get(), enfonce.get()}) SDL_SetColorKey(jeton, SDL_SRCCOLORKEY, 0x009600);
        for (auto [jeton, table] : {std::pair{&leve, &surLeve}, {&enfonce, &surLeve}, {&enfonce, &surTable}})
            SDL_BlitSurface(jeton->get(), nullptr, table->get(), nullptr);
        EXPECT_EQ(SDL_memcmp(surLeve->pixels, surTable->pixels, surLeve->h * surLeve->pitch), 0) << nom;
    }
}

// The seven counters at their widest value lie on their slots of the
// counters' backdrop (drawn at 10, 93): every row under the text box is of one
// colour, no slot edge, rule or frame.
TEST(Images, LeCompteurLePlusLargeTientDansSaCase)
{
    ASSERT_EQ(TTF_Init(), 0);
    Surface fond = charge("backTexte.bmp");
    ASSERT_NE(fond, nullptr);
    for (const auto& [points, xTexte, yTexte] : {std::tuple{18, 140, 108}, {18, 84, 131}, {18, 84, 155}, {14, 452, 108},
                                                 {14, 452, 127}, {14, 335, 144}, {14, 335, 162}}) {
        TTF_Font* f = TTF_OpenFont(VELMORA_DONNEES_TEST "/arial.ttf", points);
        ASSERT_NE(f, nullptr);
        int largeur = 0;
        TTF_SizeText(f, "2147483647", &largeur, nullptr);
        // Digits sit below the line gap and above the descent.
        const int x0 = xTexte - 10, haut = yTexte - 93 + TTF_FontAscent(f) - points * 3 / 4, bas = yTexte - 93 + TTF_FontHeight(f);
        TTF_CloseFont(f);
        for (int y = haut; y < bas; ++y)
            for (int x = x0; x < x0 + largeur; ++x)
                ASSERT_TRUE(y >= 0 && y < fond->h && x < fond->w && pixel(fond.get(), x, y) == pixel(fond.get(), x0, y))
                    << "the counter at " << xTexte << "," << yTexte << " leaves its slot at " << x + 10 << "," << y + 93;
    }
}

// A fresh run of the generator writes the same bytes as the build did but for
// the Help background, which prints the --retour text (the font is a copy,
// the sounds another program's).
TEST(Images, LeGenerateurEstDeterministe)
{
    const std::string neuf = testing::TempDir() + "velmora_images", aide = "/image/backgroundAide.bmp";
    ASSERT_EQ(std::system(("rm -rf " + neuf + " && " GENERE_IMAGES " " + neuf + " --retour essai >/dev/null").c_str()), 0);
    // grep -v selects no line (status 1): no other difference.
    const std::string autres = "grep -v -e '" + aide + " differ$' -e ': arial.ttf$' -e ': son$'; [ $? = 1 ]";
    EXPECT_EQ(std::system(("diff -rq " + neuf + " " VELMORA_DONNEES_TEST " | " + autres).c_str()), 0);
    EXPECT_NE(std::system(("cmp -s " + neuf + aide + " " VELMORA_DONNEES_TEST + aide).c_str()), 0);
    ASSERT_EQ(std::system(("rm -r " + neuf).c_str()), 0);
}

}  // namespace
