// A dummy screen in a fresh working directory, bitmaps of one colour each
// written by the test, and a journal of the files opened and of the flips.
// verifieEcran checks both against the bitmaps expected in painting order.
#pragma once

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "scenario.h"

constexpr int LARGEUR = 872, HAUTEUR = 488;

// These two take the place of SDL's in the whole test program, so one source
// file per program includes this header.
inline std::vector<std::string> journal;
extern "C" SDL_RWops* SDL_RWFromFile(const char* fichier, const char* mode)
{
    if (mode == std::string("rb")) journal.push_back(fichier);
    using Ouvre = SDL_RWops* (*)(const char*, const char*);
    return reinterpret_cast<Ouvre>(dlsym(RTLD_NEXT, "SDL_RWFromFile"))(fichier, mode);
}
extern "C" int SDL_Flip(SDL_Surface* ecran)
{
    journal.push_back("flip");
    return reinterpret_cast<int (*)(SDL_Surface*)>(dlsym(RTLD_NEXT, "SDL_Flip"))(ecran);
}

// The process ending inside a test fails it (instead of passing with status 0).
inline void gardeSortie() { if (testing::UnitTest::GetInstance()->current_test_info()) _Exit(1); }

// A bitmap expected with its corner at x, y; at -1, -1 a journal entry only.
struct Image { std::string chemin; int x = -1, y = -1; };
const Image FLIP{"flip"}, POLICE{"arial.ttf"};

class EcranTest : public testing::Test {
protected:
    SDL_Surface *ecran = nullptr, *modele = nullptr;  // modele: what the screen should show
    std::filesystem::path dossier;

    void SetUp() override
    {
        [[maybe_unused]] static const int garde = std::atexit(gardeSortie);  // after gtest's own set-up
        char gabarit[] = "/tmp/velmora-ecranXXXXXX";
        std::filesystem::current_path(dossier = mkdtemp(gabarit));
        gardeTemps();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(ecran = SDL_SetVideoMode(LARGEUR, HAUTEUR, 32, SDL_HWSURFACE | SDL_DOUBLEBUF)) << SDL_GetError();
        modele = SDL_CreateRGBSurface(0, LARGEUR, HAUTEUR, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        for (SDL_Event e; SDL_PollEvent(&e);) continue;
        efface();
    }
    void TearDown() override { SDL_FreeSurface(modele); SDL_Quit(); std::filesystem::remove_all(dossier); }
    // The screen before each draw; the screen is xRGB like the model.
    void efface() { journal.clear(); SDL_FillRect(ecran, nullptr, 0x203040); SDL_FillRect(modele, nullptr, 0x203040); }

    // Every bitmap is 180 by 110 pixels of the colour of its name, red 0x80 and
    // up: neither the screen's colour nor the chips' key; taches are spots.
    static Uint32 couleur(const std::string& f) { return 0x800000 | (std::hash<std::string>{}(f) & 0x7FFFFF); }
    static void ecrisBmp(const std::string& chemin, const std::vector<std::pair<SDL_Rect, Uint32>>& taches = {})
    {
        SDL_Surface* s = SDL_CreateRGBSurface(0, 180, 110, 24, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_FillRect(s, nullptr, couleur(chemin));
        for (auto [zone, c] : taches) SDL_FillRect(s, &zone, c);
        std::filesystem::create_directories(std::filesystem::path(chemin).parent_path());
        SDL_SaveBMP(s, chemin.c_str());
        SDL_FreeSurface(s);
    }
    // Red, green and blue only: text leaves bits in the unused byte.
    static Uint32 rgb(SDL_Surface* s, int x, int y)
    {
        return static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
    }

    // The files opened and the flips are those listed, in order, and the
    // screen is the model with the listed bitmaps painted over it.
    void verifieEcran(const std::vector<Image>& images)
    {
        std::vector<std::string> ouverts;
        for (const Image& im : images) {
            SDL_Rect zone{Sint16(im.x), Sint16(im.y), 180, 110};
            if (im.x >= 0) SDL_FillRect(modele, &zone, couleur(im.chemin));
            ouverts.push_back(im.chemin);
        }
        EXPECT_EQ(journal, ouverts);
        journal.clear();
        for (int y = 0; y < HAUTEUR; ++y)
            for (int x = 0; x < LARGEUR; ++x)
                if (rgb(ecran, x, y) != rgb(modele, x, y))
                    return ADD_FAILURE() << "first at " << x << "," << y << std::hex << ": " << rgb(ecran, x, y);
    }
};
