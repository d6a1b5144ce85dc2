// The bars and the curve of the statistics screen, drawn pixel by pixel on
// the screen surface: lines are smoothed by the distance of each pixel's
// centre to the nearest segment.
#include "graphiqueBilan.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analyseConseil.h"

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that is at least brut.
int64_t pasRond(double brut)
{
    for (int64_t puissance = 1; puissance < INT64_MAX / 10; puissance *= 10) {
        for (int64_t facteur : {1, 2, 5}) {
            if (static_cast<double>(facteur * puissance) >= brut) {
                return facteur * puissance;
            }
        }
    }
    return INT64_MAX / 10;
}

// A tick's value; from a step of 100 000 on, in millions ("12,5 M").
void ecritGraduation(TexteNombre* texte, int64_t valeur, int64_t pas)
{
    if (pas < 100000) {
        ecritEntier(texte->data(), texte->size(), valeur);
        return;
    }
    const int64_t dixiemes = valeur / 100000;  // a multiple of the step: whole tenths of a million
    char entier[40];
    ecritEntier(entier, sizeof entier, std::abs(dixiemes) / 10);
    const char* signe = dixiemes < 0 ? "\xE2\x88\x92" : "";
    if (dixiemes % 10 != 0) {
        std::snprintf(texte->data(), texte->size(), "%s%s,%lld\xC2\xA0M", signe, entier,
                      static_cast<long long>(std::abs(dixiemes) % 10));
    } else {
        std::snprintf(texte->data(), texte->size(), "%s%s\xC2\xA0M", signe, entier);
    }
}

// The values of both lines in credits: the start, then after each hand.
struct Valeurs {
    int32_t n;
    std::array<double, NB_POINTS_COURBE + 1> credits, attendus;
};

Valeurs valeurs(const Bilan* b)
{
    Valeurs v{};
    v.n = std::clamp(b->nbPoints, 0, NB_POINTS_COURBE);
    v.credits[0] = b->creditDepart;
    v.attendus[0] = static_cast<double>(b->attenduDepart) / UNITE_CONSEIL;
    for (int32_t i = 0; i < v.n; ++i) {
        v.credits[i + 1] = b->credits[i];
        v.attendus[i + 1] = static_cast<double>(b->attendus[i]) / UNITE_CONSEIL;
    }
    return v;
}

void graduationsY(const Valeurs& v, EchelleCourbe* e, int64_t* bas, int64_t* haut)
{
    double minimum = v.credits[0], maximum = v.credits[0];
    for (int32_t i = 0; i <= v.n; ++i) {
        minimum = std::min({minimum, v.credits[i], v.attendus[i]});
        maximum = std::max({maximum, v.credits[i], v.attendus[i]});
    }
    const int64_t pas = pasRond(std::max(maximum - minimum, 1.0) / 4);
    *bas = static_cast<int64_t>(std::floor(minimum / static_cast<double>(pas))) * pas;
    *haut = static_cast<int64_t>(std::ceil(maximum / static_cast<double>(pas))) * pas;
    if (*haut == *bas) {
        *haut += pas;
    }
    for (int64_t valeur = *bas; valeur <= *haut && e->nbY < MAX_GRADUATIONS; valeur += pas) {
        Graduation& g = e->y[e->nbY++];
        g.position = static_cast<float>(ZONE_COURBE.y + ZONE_COURBE.hauteur -
                                        static_cast<double>(valeur - *bas) / static_cast<double>(*haut - *bas) *
                                            ZONE_COURBE.hauteur);
        ecritGraduation(&g.texte, valeur, pas);
    }
}

// Hand numbers of the game, at multiples of a round step.
void graduationsX(const Bilan* b, int32_t n, EchelleCourbe* e)
{
    const int64_t premiere = b->mainsPartie - n;
    const int64_t pas = pasRond(n / 5.0);
    for (int64_t main = (premiere + pas - 1) / pas * pas; main <= b->mainsPartie && e->nbX < MAX_GRADUATIONS;
         main += pas) {
        Graduation& g = e->x[e->nbX++];
        g.position = static_cast<float>(ZONE_COURBE.x + static_cast<double>(main - premiere) * ZONE_COURBE.largeur / n);
        ecritEntier(g.texte.data(), g.texte.size(), main);
    }
}

// --- Pixels ---

struct Pinceau {
    SDL_Surface* ecran;
    SDL_Rect limite;  // nothing is drawn outside
};

void fondPixel(const Pinceau& p, int x, int y, uint32_t couleur, float couverture)
{
    if (x < p.limite.x || y < p.limite.y || x >= p.limite.x + p.limite.w || y >= p.limite.y + p.limite.h) {
        return;
    }
    Uint32* pixel = static_cast<Uint32*>(p.ecran->pixels) + y * (p.ecran->pitch / 4) + x;
    Uint8 r, g, b;
    SDL_GetRGB(*pixel, p.ecran->format, &r, &g, &b);
    const auto mele = [couverture](Uint8 de, uint32_t vers) {
        return static_cast<Uint8>(std::lround(de + (static_cast<float>(vers & 0xFF) - de) * couverture));
    };
    *pixel = SDL_MapRGB(p.ecran->format, mele(r, couleur >> 16), mele(g, couleur >> 8), mele(b, couleur));
}

float distanceSegment(PointCourbe a, PointCourbe b, float x, float y)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float longueur2 = dx * dx + dy * dy;
    const float t = longueur2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / longueur2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// A line through points[0..n-1], rayon pixels either side of its middle.
// Each pixel takes its colour from the nearest segment only, so the joints
// are not painted twice.
void polyligne(const Pinceau& p, const PointCourbe* points, int32_t n, float rayon, uint32_t couleur)
{
    for (int32_t i = 0; i + 1 < n; ++i) {
        const PointCourbe a = points[i], b = points[i + 1];
        const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - rayon - 1));
        const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + rayon + 1));
        const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - rayon - 1));
        const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + rayon + 1));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float cx = x + 0.5f, cy = y + 0.5f;
                const float d = distanceSegment(a, b, cx, cy);
                if ((i > 0 && distanceSegment(points[i - 1], a, cx, cy) <= d) ||
                    (i + 2 < n && distanceSegment(b, points[i + 2], cx, cy) < d)) {
                    continue;
                }
                const float couverture = std::clamp(rayon + 0.5f - d, 0.0f, 1.0f);
                if (couverture > 0) {
                    fondPixel(p, x, y, couleur, couverture);
                }
            }
        }
    }
}

void disque(const Pinceau& p, PointCourbe c, float rayon, uint32_t couleur)
{
    for (int y = static_cast<int>(c.y - rayon - 1); y <= static_cast<int>(c.y + rayon + 1); ++y) {
        for (int x = static_cast<int>(c.x - rayon - 1); x <= static_cast<int>(c.x + rayon + 1); ++x) {
            const float couverture = std::clamp(rayon + 0.5f - std::hypot(x + 0.5f - c.x, y + 0.5f - c.y), 0.0f, 1.0f);
            if (couverture > 0) {
                fondPixel(p, x, y, couleur, couverture);
            }
        }
    }
}

void rectangle(SDL_Surface* ecran, int x, int y, int largeur, int hauteur, uint32_t couleur)
{
    SDL_Rect zone{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(largeur),
                  static_cast<Uint16>(hauteur)};
    SDL_FillRect(ecran, &zone, SDL_MapRGB(ecran->format, couleur >> 16 & 0xFF, couleur >> 8 & 0xFF, couleur & 0xFF));
}

// A bar with a lighter top edge.
void barre(SDL_Surface* ecran, int y, int hauteur, double part, uint32_t couleur)
{
    const int longueur = longueurBarre(part);
    if (longueur == 0) {
        return;
    }
    rectangle(ecran, X_BARRES, y, longueur, hauteur, couleur);
    const uint32_t clair = ((couleur >> 1) & 0x7F7F7F) + 0x808080;  // halfway to white
    rectangle(ecran, X_BARRES, y, longueur, 1, clair);
}

void axes(SDL_Surface* ecran, const EchelleCourbe* e)
{
    const int gauche = ZONE_COURBE.x, bas = ZONE_COURBE.y + ZONE_COURBE.hauteur;
    for (int32_t i = 0; i < e->nbY; ++i) {
        const int y = static_cast<int>(std::lround(e->y[i].position));
        rectangle(ecran, gauche + 1, y, ZONE_COURBE.largeur, 1, COULEUR_GRILLE);
        rectangle(ecran, gauche - 4, y, 4, 1, COULEUR_AXE);
    }
    for (int32_t i = 0; i < e->nbX; ++i) {
        rectangle(ecran, static_cast<int>(std::lround(e->x[i].position)), bas + 1, 1, 4, COULEUR_AXE);
    }
    rectangle(ecran, gauche, ZONE_COURBE.y - 4, 1, ZONE_COURBE.hauteur + 5, COULEUR_AXE);
    rectangle(ecran, gauche, bas, ZONE_COURBE.largeur + 4, 1, COULEUR_AXE);
}

}  // namespace

void echelleCourbe(const Bilan* bilan, EchelleCourbe* e)
{
    *e = EchelleCourbe{};
    const Valeurs v = valeurs(bilan);
    if (v.n == 0) {
        return;
    }
    int64_t bas = 0, haut = 0;
    graduationsY(v, e, &bas, &haut);
    graduationsX(bilan, v.n, e);
    const auto y = [bas, haut](double valeur) {
        return static_cast<float>(ZONE_COURBE.y + ZONE_COURBE.hauteur -
                                  (valeur - static_cast<double>(bas)) / static_cast<double>(haut - bas) *
                                      ZONE_COURBE.hauteur);
    };
    e->nbPoints = v.n + 1;
    for (int32_t i = 0; i <= v.n; ++i) {
        const float x = static_cast<float>(ZONE_COURBE.x + static_cast<double>(i) * ZONE_COURBE.largeur / v.n);
        e->credits[i] = {x, y(v.credits[i])};
        e->attendus[i] = {x, y(v.attendus[i])};
    }
}

int32_t longueurBarre(double part)
{
    if (!(part > 0)) {
        return 0;
    }
    const double longueur = LARGEUR_BARRES * (std::log10(std::min(part, 1.0)) + DECADES) / DECADES;
    return std::clamp(static_cast<int32_t>(std::lround(longueur)), 1, LARGEUR_BARRES);
}

void affichageBarresBilan(SDL_Surface* ecran, const Bilan* bilan, const RetourConseil* retour)
{
    for (int32_t rang = 0; rang < NB_COMBINAISONS; ++rang) {
        const int32_t c = NB_COMBINAISONS - 1 - rang;
        const int y = Y_PREMIERE_MAIN + rang * HAUTEUR_MAIN;
        if (bilan->mains > 0) {
            barre(ecran, y + Y_BARRE_JOUEUR, HAUTEUR_BARRE_JOUEUR,
                  static_cast<double>(bilan->combinaisons[c]) / static_cast<double>(bilan->mains), COULEUR_JOUEUR);
        }
        if (retour != nullptr && retour->denominateur > 0) {
            barre(ecran, y + Y_BARRE_EXACTE, HAUTEUR_BARRE_EXACTE,
                  static_cast<double>(retour->distribution[c]) / static_cast<double>(retour->denominateur),
                  COULEUR_EXACTE);
        }
    }
}

void affichageCourbeBilan(SDL_Surface* ecran, const EchelleCourbe* e)
{
    axes(ecran, e);
    if (e->nbPoints == 0 || SDL_LockSurface(ecran) != 0) {
        return;
    }
    // The lines may reach a little over the plot's edges, never beyond its frame.
    const Cadre& z = ZONE_COURBE;
    const Pinceau p{ecran, {static_cast<Sint16>(z.x + 1), static_cast<Sint16>(z.y - 3),
                            static_cast<Uint16>(z.largeur + 3), static_cast<Uint16>(z.hauteur + 3)}};
    polyligne(p, e->attendus.data(), e->nbPoints, 0.9f, COULEUR_EXACTE);
    polyligne(p, e->credits.data(), e->nbPoints, 1.1f, COULEUR_JOUEUR);
    disque(p, e->attendus[e->nbPoints - 1], 2.5f, COULEUR_EXACTE);
    disque(p, e->credits[e->nbPoints - 1], 3.0f, COULEUR_JOUEUR);
    SDL_UnlockSurface(ecran);
}

void affichageVoile(SDL_Surface* ecran)
{
    const SDL_PixelFormat* f = ecran->format;
    SDL_Surface* voile = SDL_CreateRGBSurface(SDL_SWSURFACE, ecran->w, ecran->h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    if (voile == nullptr) {
        return;
    }
    SDL_FillRect(voile, nullptr,
                 SDL_MapRGB(voile->format, COULEUR_VOILE >> 16, COULEUR_VOILE >> 8 & 0xFF, COULEUR_VOILE & 0xFF));
    SDL_SetAlpha(voile, SDL_SRCALPHA, OPACITE_VOILE);
    SDL_BlitSurface(voile, nullptr, ecran, nullptr);
    SDL_FreeSurface(voile);
}
