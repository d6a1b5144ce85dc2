// A dummy screen in a fresh working directory, solid-colour bitmaps written
// by the test, and the screen compared pixel by pixel with the picture those
// bitmaps make when painted in a given order.
#pragma once

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

constexpr int LARGEUR = 872, HAUTEUR = 488;
constexpr uint32_t FOND_ECRAN = 0x203040;  // the screen before each draw

// Every file the code opens for reading and every flip, in order. The two
// functions below take the place of SDL's for the whole test program, so
// this header goes into one source file per program.
inline std::vector<std::string> journal;

extern "C" SDL_RWops* SDL_RWFromFile(const char* fichier, const char* mode)
{
    static auto sdl =
        reinterpret_cast<SDL_RWops* (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "SDL_RWFromFile"));
    if (std::string(mode) == "rb") journal.push_back(fichier);
    return sdl(fichier, mode);
}

extern "C" int SDL_Flip(SDL_Surface* ecran)
{
    static auto sdl = reinterpret_cast<int (*)(SDL_Surface*)>(dlsym(RTLD_NEXT, "SDL_Flip"));
    journal.push_back("flip");
    return sdl(ecran);
}

// A bitmap expected with its top-left corner at x, y; or, at -1, -1, an entry
// of the journal only (the font, a flip).
struct Image {
    std::string chemin;
    int x = -1, y = -1;
};
const Image FLIP{"flip"}, POLICE{"arial.ttf"};

inline std::vector<Image> operator+(std::vector<Image> a, const std::vector<Image>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The table: cards and hold buttons 91 pixels apart; chips in two rows of four
// 83 pixels apart, Allin and Reset in a fifth column.
inline Image carte(int i, const std::string& f)
{
    return {f, 61 + 91 * i, 221};
}
inline Image garder(int i, const std::string& f)
{
    return {f, 56 + 91 * i, 321};
}
inline Image jeton(int k, const std::string& etat)
{
    const char* noms[] = {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"};
    return {std::string("image/jeton/jeton") + noms[k] + etat + ".bmp", k < 8 ? 46 + 83 * (k % 4) : 400,
            (k < 8 ? k / 4 : k - 8) ? 292 : 209};
}

class EcranTest : public testing::Test {
protected:
    SDL_Surface* ecran = nullptr;
    std::filesystem::path origine = std::filesystem::current_path(), dossier;
    struct Bitmap {
        uint32_t couleur;
        int w, h;
    };
    std::map<std::string, Bitmap> bitmaps;

    void SetUp() override
    {
        char modele[] = "/tmp/velmora-dessinXXXXXX";
        dossier = mkdtemp(modele);
        std::filesystem::current_path(dossier);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ecran = SDL_SetVideoMode(LARGEUR, HAUTEUR, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(ecran, nullptr) << SDL_GetError();
        efface();
        for (SDL_Event e; SDL_PollEvent(&e);) {
        }
        journal.clear();
    }
    void TearDown() override
    {
        SDL_Quit();
        std::filesystem::current_path(origine);
        std::filesystem::remove_all(dossier);
    }
    void efface() { SDL_FillRect(ecran, nullptr, SDL_MapRGB(ecran->format, 0x20, 0x30, 0x40)); }

    // A bitmap of a colour no other file of the test has (red 0x80: neither the
    // screen's colour nor the chips' key). The taches get colours of their own.
    void ecrisBmp(const std::string& chemin, int w = 180, int h = 110,
                  const std::vector<std::pair<SDL_Rect, uint32_t>>& taches = {})
    {
        const uint32_t n = static_cast<uint32_t>(bitmaps.size()) + 1, couleur = 0x800000 | (n * 37 & 255) << 8 | n;
        bitmaps[chemin] = {couleur, w, h};
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
        SDL_FillRect(s, nullptr, couleur);
        for (auto [r, c] : taches) SDL_FillRect(s, &r, c);
        std::filesystem::create_directories(std::filesystem::path(chemin).parent_path());
        SDL_SaveBMP(s, chemin.c_str());
        SDL_FreeSurface(s);
    }

    static std::vector<uint32_t> capture(SDL_Surface* s)
    {
        std::vector<uint32_t> rgb;
        Uint8 r, g, b;
        SDL_LockSurface(s);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) {
                SDL_GetRGB(static_cast<Uint32*>(s->pixels)[y * s->pitch / 4 + x], s->format, &r, &g, &b);
                rgb.push_back(uint32_t(r) << 16 | g << 8 | b);
            }
        SDL_UnlockSurface(s);
        return rgb;
    }
    uint32_t pixel(int x, int y) { return capture(ecran)[y * LARGEUR + x]; }

    void compare(const std::vector<uint32_t>& attendu)
    {
        const std::vector<uint32_t> vu = capture(ecran);
        size_t fautes = 0, i = 0;
        for (size_t j = 0; j < vu.size(); ++j)
            if (vu[j] != attendu[j] && fautes++ == 0) i = j;
        EXPECT_EQ(fautes, 0u) << "first at " << i % LARGEUR << "," << i / LARGEUR << std::hex << ": 0x" << vu[i]
                              << " instead of 0x" << attendu[i];
    }

    // The files opened and the flips must be those listed, in order, and the
    // screen FOND_ECRAN painted over by the listed bitmaps.
    void verifieEcran(const std::vector<Image>& images)
    {
        std::vector<std::string> ouverts;
        std::vector<uint32_t> attendu(LARGEUR * HAUTEUR, FOND_ECRAN);
        for (const Image& im : images) {
            ouverts.push_back(im.chemin);
            if (im.x < 0) continue;
            const Bitmap& b = bitmaps.at(im.chemin);
            for (int y = im.y; y < std::min(im.y + b.h, HAUTEUR); ++y)
                for (int x = im.x; x < std::min(im.x + b.w, LARGEUR); ++x) attendu[y * LARGEUR + x] = b.couleur;
        }
        EXPECT_EQ(journal, ouverts);
        journal.clear();
        compare(attendu);
    }
};
