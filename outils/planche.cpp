// Pictures for looking at the game's look without playing it:
//   planche <data-dir> <output-dir>
// writes <output-dir>/planche.png, every bitmap at its real size on the felt,
// labelled with its file name, and <output-dir>/maquette-*.png, the screens
// composed as the game composes them, counters and texts included.
#include "dessin.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int LARGEUR = 872, HAUTEUR = 488;

SDL_Surface* surface(int l, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, l, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

bool enregistre(SDL_Surface* s, const std::string& chemin)
{
    Image im(s->w, s->h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            Uint32 p = static_cast<Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
            Uint8 r, g, b;
            SDL_GetRGB(p, s->format, &r, &g, &b);
            im.at(x, y) = rgb(r, g, b);
        }
    SDL_UnlockSurface(s);
    bool ok = ecrisPng(im, chemin);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", chemin.c_str());
    return ok;
}

bool estJeton(const std::string& nom) { return nom.rfind("image/jeton/", 0) == 0; }

// Blits a bitmap as the game does: chips with their colour key.
void pose(SDL_Surface* dest, const std::string& donnees, const std::string& nom, int x, int y)
{
    SDL_Surface* b = SDL_LoadBMP((donnees + "/" + nom).c_str());
    if (!b) {
        std::fprintf(stderr, "planche: cannot load %s\n", nom.c_str());
        return;
    }
    if (estJeton(nom)) SDL_SetColorKey(b, SDL_SRCCOLORKEY, SDL_MapRGB(b->format, 0, 150, 0));
    SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(b, nullptr, dest, &r);
    SDL_FreeSurface(b);
}

void texte(SDL_Surface* dest, TTF_Font* police, const std::string& t, int x, int y, SDL_Color c)
{
    if (!police) return;
    SDL_Surface* s = TTF_RenderUTF8_Blended(police, t.c_str(), c);
    if (!s) return;
    SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(s, nullptr, dest, &r);
    SDL_FreeSurface(s);
}

void planche(const std::string& donnees, const std::string& sortie)
{
    std::vector<std::string> noms;
    for (const auto& e : fs::recursive_directory_iterator(donnees + "/image"))
        if (e.path().extension() == ".bmp") noms.push_back(fs::relative(e.path(), donnees).string());
    // Largest first, then by name: the backgrounds lead, the cards stay together.
    std::vector<std::pair<SDL_Surface*, std::string>> images;
    for (const std::string& n : noms) {
        SDL_Surface* s = SDL_LoadBMP((donnees + "/" + n).c_str());
        if (s) images.emplace_back(s, n);
    }
    std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) {
        int aa = a.first->w * a.first->h, ab = b.first->w * b.first->h;
        return aa != ab ? aa > ab : a.second < b.second;
    });
    TTF_Font* etiquette = TTF_OpenFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 10);
    constexpr int largeurPlanche = 2 * LARGEUR + 3 * 16, marge = 16, hauteurEtiquette = 16;
    // Shelf packing: left to right, a new row when the width runs out.
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = marge, y = marge, hauteurRangee = 0;
    for (auto& [s, n] : images) {
        int l = s->w, h = 0;
        if (etiquette) TTF_SizeUTF8(etiquette, n.substr(std::string("image/").size()).c_str(), &l, &h);
        l = std::max(l, s->w);
        if (x + l + marge > largeurPlanche) {
            x = marge;
            y += hauteurRangee + hauteurEtiquette + marge;
            hauteurRangee = 0;
        }
        places.push_back({x, y});
        x += l + marge;
        hauteurRangee = std::max(hauteurRangee, s->h);
    }
    int hauteur = y + hauteurRangee + hauteurEtiquette + marge;
    SDL_Surface* feuille = surface(largeurPlanche, hauteur);
    SDL_FillRect(feuille, nullptr, SDL_MapRGB(feuille->format, 18, 104, 60));
    for (size_t i = 0; i < images.size(); ++i) {
        auto& [s, n] = images[i];
        if (estJeton(n)) SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 0, 150, 0));
        SDL_Rect r{static_cast<Sint16>(places[i].x), static_cast<Sint16>(places[i].y), 0, 0};
        SDL_BlitSurface(s, nullptr, feuille, &r);
        std::string court = n.substr(std::string("image/").size());
        texte(feuille, etiquette, court, places[i].x, places[i].y + s->h + 2, SDL_Color{255, 255, 255, 0});
        SDL_FreeSurface(s);
    }
    if (etiquette) TTF_CloseFont(etiquette);
    enregistre(feuille, sortie + "/planche.png");
    SDL_FreeSurface(feuille);
}

struct Pose {
    const char* nom;
    int x, y;
};
struct Texte {
    std::string t;
    int points, x, y;
    bool or_;
};
struct Ecran {
    const char* nom;
    std::vector<Pose> poses;
    std::vector<Texte> textes;
};

std::vector<Texte> compteurs(const std::vector<std::string>& v)
{
    return {{v[0], 18, 140, 108, true}, {v[1], 18, 84, 131, true},  {v[2], 18, 84, 155, true},
            {v[3], 14, 452, 108, true}, {v[4], 14, 452, 127, true}, {v[5], 14, 335, 144, true},
            {v[6], 14, 335, 162, true}};
}

std::vector<Pose> cartes(std::vector<const char*> noms, std::vector<int> garder)
{
    std::vector<Pose> p;
    for (int i = 0; i < 5; ++i)
        p.push_back({garder[i] ? "image/bouton/boutonGarderDown.bmp" : "image/bouton/boutonGarderUp.bmp", 56 + 91 * i, 321});
    for (int i = 0; i < 5; ++i) p.push_back({noms[i], 61 + 91 * i, 221});
    return p;
}

std::vector<Pose> operator+(std::vector<Pose> a, const std::vector<Pose>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Ecran> ecrans()
{
    const std::vector<Pose> table = {{"image/backgroundJeu.bmp", 0, 0},
                                     {"image/backTexte.bmp", 10, 93},
                                     {"image/bouton/boutonAideUp.bmp", 6, 425},
                                     {"image/bouton/boutonApropoUp.bmp", 6, 456}};
    std::vector<Pose> jetons;
    const char* noms[] = {"1", "2", "5", "10", "20", "50", "100", "200", "Allin", "Reset"};
    const int xs[] = {46, 129, 212, 295, 46, 129, 212, 295, 400, 400};
    const int ys[] = {209, 209, 209, 209, 292, 292, 292, 292, 209, 292};
    static std::vector<std::string> chemins;
    chemins.clear();
    for (int k = 0; k < 10; ++k)
        chemins.push_back(std::string("image/jeton/jeton") + noms[k] + (k == 3 ? "Down" : "Up") + ".bmp");
    for (int k = 0; k < 10; ++k) jetons.push_back({chemins[k].c_str(), xs[k], ys[k]});
    return {
        {"start",
         {{"image/backgroundStart.bmp", 0, 0},
          {"image/bouton/boutonAideUp.bmp", 6, 425},
          {"image/bouton/boutonApropoUp.bmp", 6, 456},
          {"image/bouton/boutonNewGameUp.bmp", 282, 143},
          {"image/bouton/boutonResumeClose.bmp", 282, 202},
          {"image/bouton/boutonOptionDown.bmp", 282, 260}},
         {}},
        {"mise",
         table + std::vector<Pose>{{"image/bouton/boutonCarteUp.bmp", 385, 440}} + jetons +
             std::vector<Pose>{{"image/texte/texteMise.bmp", 193, 7}, {"image/texte/texteAide.bmp", 118, 378}},
         compteurs({"40", "10", "0", "12", "9", "1050", "2310"})},
        {"mise-vide",
         table + std::vector<Pose>{{"image/bouton/boutonCarteDisa.bmp", 385, 440}} + jetons +
             std::vector<Pose>{{"image/texte/texteMise.bmp", 193, 7}, {"image/texte/texteAide.bmp", 118, 378}},
         compteurs({"50", "0", "0", "0", "0", "0", "0"})},
        {"main",
         table + std::vector<Pose>{{"image/bouton/boutonCarteDown.bmp", 385, 440}} +
             cartes({"image/carte/7Trefle.bmp", "image/carte/7Coeur.bmp", "image/carte/10Carreau.bmp",
                     "image/carte/QPique.bmp", "image/carte/asCoeur.bmp"},
                    {0, 0, 1, 1, 0}) +
             std::vector<Pose>{{"image/texte/texteFirstHand.bmp", 193, 7}, {"image/texte/texteAide.bmp", 118, 378}},
         compteurs({"40", "10", "0", "12", "9", "1050", "2310"})},
        {"fin",
         table + std::vector<Pose>{{"image/bouton/boutonRejouerUp.bmp", 385, 440}} +
             cartes({"image/carte/7Trefle.bmp", "image/carte/7Coeur.bmp", "image/carte/JCarreau.bmp",
                     "image/carte/KPique.bmp", "image/carte/7Pique.bmp"},
                    {0, 0, 1, 1, 0}) +
             std::vector<Pose>{{"image/texte/texteWin.bmp", 193, 7},
                               {"image/texte/combinaison/texteQuinteFlushRoyal.bmp", 118, 378}},
         compteurs({"1234567", "9999999", "1234567", "1234567", "7654321", "9999999", "1234567"})},
        {"perdu",
         table + std::vector<Pose>{{"image/bouton/boutonRejouerDown.bmp", 385, 440}} +
             cartes({"image/carte/2Trefle.bmp", "image/carte/5Carreau.bmp", "image/carte/9Coeur.bmp",
                     "image/carte/JPique.bmp", "image/carte/KTrefle.bmp"},
                    {0, 0, 0, 0, 0}) +
             std::vector<Pose>{{"image/texte/texteLoose.bmp", 193, 7}, {"image/texte/combinaison/texteRien.bmp", 118, 378}},
         compteurs({"0", "5", "0", "3", "11", "40", "95"})},
        {"option", {{"image/backgroundOption.bmp", 0, 0}, {"image/bouton/boutonRetourUp.bmp", 6, 456}}, {}},
        {"aide",
         {{"image/backgroundAide.bmp", 0, 0}, {"image/bouton/boutonRetourUp.bmp", 6, 456}},
         {{"https://velmora.example.org", 12, 275, 380, false}}},
        {"apropos",
         {{"image/backgroundApropos.bmp", 0, 0}, {"image/bouton/boutonRetourDown.bmp", 6, 456}},
         {{"https://velmora.example.org", 20, 101, 359, false}, {"1.0", 20, 126, 183, false}}},
        {"gameover", {{"image/backgroundGameOver.bmp", 0, 0}, {"image/bouton/boutonContinuerUp.bmp", 6, 456}}, {}},
    };
}

void maquettes(const std::string& donnees, const std::string& sortie)
{
    for (const Ecran& e : ecrans()) {
        SDL_Surface* ecran = surface(LARGEUR, HAUTEUR);
        SDL_FillRect(ecran, nullptr, SDL_MapRGB(ecran->format, 255, 0, 255));  // gaps show in magenta
        for (const Pose& p : e.poses) pose(ecran, donnees, p.nom, p.x, p.y);
        for (const Texte& t : e.textes) {
            TTF_Font* f = TTF_OpenFont((donnees + "/arial.ttf").c_str(), t.points);
            SDL_Color c = t.or_ ? SDL_Color{247, 201, 17, 0} : SDL_Color{247, 247, 247, 0};
            texte(ecran, f, t.t, t.x, t.y, c);
            if (f) TTF_CloseFont(f);
        }
        enregistre(ecran, sortie + "/maquette-" + e.nom + ".png");
        SDL_FreeSurface(ecran);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: planche <data-dir> <output-dir>\n");
        return 2;
    }
    if (TTF_Init() != 0) return 1;
    planche(argv[1], argv[2]);
    maquettes(argv[1], argv[2]);
    TTF_Quit();
    return 0;
}
