// Texts: each counter's decimal text, and the screen compared with the font
// library's own rendering of every text at its size, colour and place. A
// missing or broken "arial.ttf" draws nothing but still flips.
#include <SDL_ttf.h>

#include <climits>
#include <fstream>
#include <random>

#include "ecranTest.h"
#include "gestionMiseGain.h"
#include "gestionTexte.h"

namespace {

struct Texte {
    std::string contenu;
    int taille, x, y;
    SDL_Color couleur;
};

constexpr SDL_Color JAUNE{247, 201, 17, 0}, BLANC{247, 247, 247, 0};

class Textes : public EcranTest {
protected:
    Statistique stats[NB_STATISTIQUES];

    void SetUp() override
    {
        EcranTest::SetUp();
        std::filesystem::copy_file("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "arial.ttf");
        const int32_t valeurs[] = {50, 0, INT32_MIN, 7, -12, INT32_MAX, 1234};
        for (int i = 0; i < NB_STATISTIQUES; ++i) stats[i] = {valeurs[i], "#################"};
    }

    // The font opened once per size, one flip, and on the screen the texts
    // as the library renders them, blitted in order over the screen's colour.
    void verifieTextes(size_t tailles, const std::vector<Texte>& textes)
    {
        std::vector<std::string> ouverts(tailles, "arial.ttf");
        ouverts.push_back("flip");
        EXPECT_EQ(journal, ouverts);
        const SDL_PixelFormat* f = ecran->format;
        SDL_Surface* attendu =
            SDL_CreateRGBSurface(SDL_SWSURFACE, LARGEUR, HAUTEUR, 32, f->Rmask, f->Gmask, f->Bmask, f->Amask);
        SDL_FillRect(attendu, nullptr, SDL_MapRGB(attendu->format, 0x20, 0x30, 0x40));
        TTF_Init();
        for (const Texte& t : textes) {
            TTF_Font* police = TTF_OpenFont("arial.ttf", t.taille);
            ASSERT_NE(police, nullptr);
            SDL_Surface* rendu = TTF_RenderText_Blended(police, t.contenu.c_str(), t.couleur);
            SDL_Rect place{Sint16(t.x), Sint16(t.y), 0, 0};
            SDL_BlitSurface(rendu, nullptr, attendu, &place);
            SDL_FreeSurface(rendu);
            TTF_CloseFont(police);
        }
        TTF_Quit();
        journal.clear();
        compare(capture(attendu));
        SDL_FreeSurface(attendu);
    }
};

const std::vector<Texte> compteurs{{"50", 18, 140, 108, JAUNE},         {"0", 18, 84, 131, JAUNE},
                                   {"-2147483648", 18, 84, 155, JAUNE}, {"7", 14, 452, 108, JAUNE},
                                   {"-12", 14, 452, 127, JAUNE},        {"2147483647", 14, 335, 144, JAUNE},
                                   {"1234", 14, 335, 162, JAUNE}};

TEST_F(Textes, CompteursEcritsEtDessinesASaPlace)
{
    affichageVariable(ecran, stats);
    for (int i = 0; i < NB_STATISTIQUES; ++i) EXPECT_STREQ(stats[i].texte, compteurs[i].contenu.c_str());
    EXPECT_EQ(stats[gain].valeur, INT32_MIN);
    verifieTextes(2, compteurs);
}

TEST_F(Textes, AdresseEtVersion)
{
    affichageTexteAide(ecran);
    verifieTextes(1, {{ADRESSE_WEB, 12, 275, 380, BLANC}});
    efface();
    affichageTexteApropos(ecran);
    verifieTextes(1, {{ADRESSE_WEB, 20, 101, 359, BLANC}, {"1.0", 20, 126, 183, BLANC}});
}

// No font, random bytes (seed from VELMORA_GRAINE) and an empty file: no text,
// one flip per call, the library stopped again, the counters' texts written.
TEST_F(Textes, PoliceAbsenteOuIllisible)
{
    const char* graine = std::getenv("VELMORA_GRAINE");
    std::mt19937 aleas(graine ? std::atoi(graine) : 4);
    std::cout << "VELMORA_GRAINE=" << (graine ? graine : "4") << "\n";
    for (int cas = 0; cas < 3; ++cas) {
        std::filesystem::remove("arial.ttf");
        std::ofstream police(cas ? "arial.ttf" : "absent.ttf", std::ios::binary);
        for (int i = 0; cas == 1 && i < 4096; ++i) police.put(static_cast<char>(aleas()));
        police.close();
        affichageVariable(ecran, stats);
        affichageTexteAide(ecran);
        affichageTexteApropos(ecran);
        EXPECT_EQ(TTF_WasInit(), 0);
        EXPECT_STREQ(stats[credit].texte, "50");
        verifieEcran({POLICE, POLICE, FLIP, POLICE, FLIP, POLICE, FLIP});
    }
}

}  // namespace
