// Texts: each counter's decimal text, and the screen compared with the font
// library's own rendering of every text at its size, colour and place. A
// missing or truncated "arial.ttf" draws nothing but still flips.
#include <SDL_ttf.h>

#include <climits>

#include "ecranTest.h"
#include "gestionMiseGain.h"
#include "gestionTexte.h"

namespace {

using Textes = EcranTest;

// Drawn by the counters (0), Help (1) or About (2), at a size and a place.
struct Texte { int fonction; const char* contenu; int taille; Sint16 x, y; };
const Texte textes[] = {
    {0, "50", 18, 140, 108}, {0, "0", 18, 84, 131}, {0, "-2147483648", 18, 84, 155}, {0, "7", 14, 452, 108},
    {0, "-12", 14, 452, 127}, {0, "2147483647", 14, 335, 144}, {0, "1234", 14, 335, 162},
    {1, ADRESSE_WEB, 12, 275, 380}, {2, ADRESSE_WEB, 20, 101, 359}, {2, "1.0", 20, 126, 183}};
constexpr SDL_Color JAUNE{247, 201, 17, 0}, BLANC{247, 247, 247, 0};  // the counters, the other texts

TEST_F(Textes, TextesEtCompteurs)
{
    std::filesystem::copy_file("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "arial.ttf");
    Statistique stats[NB_STATISTIQUES];
    const int32_t valeurs[] = {50, 0, INT32_MIN, 7, -12, INT32_MAX, 1234};
    for (int i = 0; i < NB_STATISTIQUES; ++i) stats[i] = {valeurs[i], "#################"};
    const std::function<void()> dessine[] = {[&] { affichageVariable(ecran, stats); },
                                             [&] { affichageTexteAide(ecran); }, [&] { affichageTexteApropos(ecran); }};
    for (int fonction = 0; fonction < 3; ++fonction) {  // the model first: its fonts must not go into the journal
        efface();
        TTF_Init();
        for (const Texte& t : textes) {
            TTF_Font* police = TTF_OpenFont("arial.ttf", t.taille);
            SDL_Surface* rendu = TTF_RenderText_Blended(police, t.contenu, fonction ? BLANC : JAUNE);
            SDL_Rect place{t.x, t.y, 0, 0};
            if (t.fonction == fonction) SDL_BlitSurface(rendu, nullptr, modele, &place);
            SDL_FreeSurface(rendu);
            TTF_CloseFont(police);
        }
        TTF_Quit();
        journal.clear();
        dessine[fonction]();
        verifieEcran(fonction ? std::vector{POLICE, FLIP} : std::vector{POLICE, POLICE, FLIP});
        EXPECT_EQ(TTF_WasInit(), 0);
    }
    for (int i = 0; i < NB_STATISTIQUES; ++i) EXPECT_STREQ(stats[i].texte, textes[i].contenu);
    for (int cas = 0; cas < 2; ++cas) {  // truncated, then missing
        cas == 0 ? std::filesystem::resize_file("arial.ttf", 2000) : void(std::filesystem::remove("arial.ttf"));
        stats[credit].texte[0] = '#';
        efface();
        for (int fonction = 0; fonction < 3; ++fonction) dessine[fonction]();
        EXPECT_EQ(TTF_WasInit(), 0);
        EXPECT_STREQ(stats[credit].texte, "50");
        verifieEcran({POLICE, POLICE, FLIP, POLICE, FLIP, POLICE, FLIP});
    }
}

}  // namespace
