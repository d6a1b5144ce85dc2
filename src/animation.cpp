// The deal and the draw, frame by frame. A slot's picture at any moment
// follows from the animation's record alone; a frame draws the slots whose
// picture differs from the previous frame's.
#include "animation.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <numbers>

#include "interfaceGraphique.h"
#include "reglages.h"

namespace {

constexpr int32_t NB_PLACES = 5;
constexpr int32_t DOS = 0;              // the card code of the back
constexpr int32_t PLACE_INCONNUE = -2;  // what the draw starts from: whatever the screen shows

// Milliseconds between two cards, of a card's back before it turns, of half a turn.
struct Rythme {
    int32_t pas;
    int32_t dos;
    int32_t demiTour;
};

// Normales, then rapides, about three times faster: the deal of five cards
// takes 4 x 55 + 15 + 2 x 45 = 325 ms, or 107 ms.
constexpr std::array<Rythme, 2> rythmes = {{{55, 15, 45}, {18, 5, 15}}};

// A frame every 10 ms at most; the release of a finishing press is looked for every 5 ms, 5 s at most.
constexpr int32_t PERIODE_IMAGE = 10;
constexpr uint32_t PERIODE_ATTENTE = 5;
constexpr int32_t ATTENTES_MAX = 1000;

const Rythme& rythme(const Animation* animation)
{
    return rythmes[animation->vitesse == ANIMATIONS_RAPIDES ? 1 : 0];
}

// The rank of slot i among the slots that turn, or -1.
int32_t rang(const Animation* animation, int32_t i)
{
    if (((animation->tourne >> i) & 1) == 0) {
        return -1;
    }
    return std::popcount(static_cast<uint32_t>(animation->tourne) & ((1u << i) - 1));
}

int32_t debutTour(const Animation* animation, int32_t rangPlace)
{
    return rangPlace * rythme(animation).pas + rythme(animation).dos;
}

bool operator==(const PlaceCarte& a, const PlaceCarte& b)
{
    return a.carte == b.carte && a.largeur == b.largeur;
}

// Slot i at the moment t. A turning card shows the width of its projection:
// the back narrows to nothing, then the face widens to the full card.
PlaceCarte place(const Animation* animation, int32_t i, int32_t t)
{
    const int32_t r = rang(animation, i);
    if (r < 0) {
        return {animation->carte[i], LARGEUR_CARTE};
    }
    const bool donne = animation->genre == ANIMATION_DONNE;
    if (t < 0 && !donne) {
        return {PLACE_INCONNUE, 0};
    }
    if (t < (donne ? r * rythme(animation).pas : 0)) {
        return {PLACE_VIDE, 0};
    }
    const int32_t demiTour = rythme(animation).demiTour;
    const int32_t u = t - debutTour(animation, r);
    if (u < 0) {
        return {DOS, LARGEUR_CARTE};
    }
    if (u >= 2 * demiTour) {
        return {animation->carte[i], LARGEUR_CARTE};
    }
    const double angle = std::numbers::pi / 2 * u / demiTour;
    const auto largeur = static_cast<int32_t>(std::lround(LARGEUR_CARTE * std::abs(std::cos(angle))));
    if (largeur == 0) {
        return {PLACE_VIDE, 0};
    }
    return {u < demiTour ? DOS : animation->carte[i], largeur};
}

uint32_t horlogeSDL()
{
    return SDL_GetTicks();
}

void attenteSDL(uint32_t millisecondes)
{
    SDL_Delay(millisecondes);
}

// The release of the press that finished the animation: SDL_MOUSEBUTTONUP
// with its button or SDL_KEYUP with its key; type 0 once it is taken.
struct Attendu {
    uint8_t type;
    uint8_t bouton;
    SDLKey touche;
};

bool estFin(const SDL_Event& e)
{
    return e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE);
}

Attendu relachementDe(const SDL_Event& appui)
{
    if (appui.type == SDL_MOUSEBUTTONDOWN) {
        return {SDL_MOUSEBUTTONUP, appui.button.button, SDLK_UNKNOWN};
    }
    return {SDL_KEYUP, 0, appui.key.keysym.sym};
}

bool estAttendu(const Attendu& attendu, const SDL_Event& e)
{
    return attendu.type != 0 && e.type == attendu.type &&
           (e.type == SDL_MOUSEBUTTONUP ? e.button.button == attendu.bouton : e.key.keysym.sym == attendu.touche);
}

// A button or key no longer held has no release to come.
bool encoreTenu(const Attendu& attendu)
{
    if (attendu.type == SDL_MOUSEBUTTONUP) {
        const int b = attendu.bouton;
        return b >= 1 && b <= 8 && (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(b)) != 0;
    }
    const Uint8* touches = SDL_GetKeyState(nullptr);
    return attendu.type == SDL_KEYUP && touches != nullptr && touches[attendu.touche] != 0;
}

enum class Lu { rien, appui, fin };

// Looks through the queue in order. While the animation runs (enCours), its
// first press finishes it; that press and its release are taken off the
// queue, and nothing else is. Escape or the close request, left where it is,
// ends the looking: the screen's wait will quit.
Lu litQueue(Attendu* attendu, bool enCours)
{
    SDL_PumpEvents();
    std::array<SDL_Event, 128> lot;
    const int n = SDL_PeepEvents(lot.data(), static_cast<int>(lot.size()), SDL_PEEKEVENT, SDL_ALLEVENTS);
    std::array<bool, 128> pris{};
    bool prend = false;
    Lu lu = Lu::rien;
    for (int i = 0; i < n && lu != Lu::fin; ++i) {
        const SDL_Event& e = lot[i];
        if (estFin(e)) {
            lu = Lu::fin;
        } else if (enCours && lu == Lu::rien && (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_KEYDOWN)) {
            *attendu = relachementDe(e);
            pris[i] = prend = true;
            lu = Lu::appui;
        } else if (estAttendu(*attendu, e)) {
            attendu->type = 0;
            pris[i] = prend = true;
        }
    }
    if (prend) {  // the queue again without what was taken, in its order
        SDL_PeepEvents(lot.data(), n, SDL_GETEVENT, SDL_ALLEVENTS);
        for (int i = 0; i < n; ++i) {
            if (!pris[i]) {
                SDL_PushEvent(&lot[i]);
            }
        }
    }
    return lu;
}

// The release of the press that finished the animation, while its button or key is held.
Lu attendRelachement(Attendu* attendu, void (*attente)(uint32_t))
{
    for (int32_t fois = 0; fois < ATTENTES_MAX && attendu->type != 0 && encoreTenu(*attendu); ++fois) {
        attente(PERIODE_ATTENTE);
        if (litQueue(attendu, false) == Lu::fin) {
            return Lu::fin;
        }
    }
    return Lu::rien;
}

void signale(const Deroulement* deroulement, int32_t places)
{
    if (places != 0 && deroulement != nullptr && deroulement->retournees != nullptr) {
        deroulement->retournees(deroulement->ecoute, places);
    }
}

}  // namespace

void initAnimation(Animation* animation, int32_t genre, int32_t vitesse, const EtatSurface* etatSurface)
{
    *animation = Animation{genre, vitesse, {}, 0};
    for (int32_t i = 0; i < NB_PLACES; ++i) {
        animation->carte[i] = etatSurface->carte[i];
        if (genre == ANIMATION_DONNE || etatSurface->garder[i] == 1) {
            animation->tourne |= 1 << i;
        }
    }
}

int32_t dureeAnimation(const Animation* animation)
{
    const int32_t n = std::popcount(static_cast<uint32_t>(animation->tourne) & 0x1F);
    return n == 0 ? 0 : debutTour(animation, n - 1) + 2 * rythme(animation).demiTour;
}

int32_t affichageAnimation(SDL_Surface* ecran, const Animation* animation, int32_t avant, int32_t maintenant)
{
    maintenant = std::min(maintenant, dureeAnimation(animation));
    std::array<PlaceCarte, NB_PLACES> places{};
    std::array<SDL_Rect, NB_PLACES> rectangles{};
    int32_t changees = 0, nbChangees = 0, retournees = 0;
    for (int32_t i = 0; i < NB_PLACES; ++i) {
        places[i] = place(animation, i, maintenant);
        if (!(places[i] == place(animation, i, avant))) {
            changees |= 1 << i;
            rectangles[nbChangees++] = {static_cast<Sint16>(X_CARTE + PAS_CARTES * i), Y_CARTE, LARGEUR_CARTE,
                                        HAUTEUR_CARTE};
        }
        const int32_t r = rang(animation, i);
        if (r >= 0 && avant < debutTour(animation, r) && debutTour(animation, r) <= maintenant) {
            retournees |= 1 << i;
        }
    }
    if (nbChangees > 0) {
        affichagePlaces(ecran, places.data(), changees);
        SDL_UpdateRects(ecran, nbChangees, rectangles.data());
    }
    return retournees;
}

int32_t joueAnimation(SDL_Surface* ecran, const Animation* animation, const Deroulement* deroulement)
{
    const bool propre = deroulement != nullptr;
    uint32_t (*horloge)() = propre && deroulement->horloge != nullptr ? deroulement->horloge : horlogeSDL;
    void (*attente)(uint32_t) = propre && deroulement->attente != nullptr ? deroulement->attente : attenteSDL;
    const int32_t duree = dureeAnimation(animation);
    const uint32_t debut = horloge();
    Attendu attendu{};
    Lu lu = Lu::rien;
    for (int32_t avant = -1;;) {
        const int64_t ecoule = static_cast<int64_t>(horloge() - debut);
        const int32_t maintenant = lu != Lu::rien ? duree : static_cast<int32_t>(std::min<int64_t>(ecoule, duree));
        signale(deroulement, affichageAnimation(ecran, animation, avant, maintenant));
        if (maintenant >= duree) {
            break;
        }
        avant = maintenant;
        lu = litQueue(&attendu, true);
        const int64_t reste = maintenant + PERIODE_IMAGE - static_cast<int64_t>(horloge() - debut);
        if (lu == Lu::rien && reste > 0) {
            attente(static_cast<uint32_t>(reste));
        }
    }
    if (lu == Lu::appui) {
        return attendRelachement(&attendu, attente) == Lu::fin ? ANIMATION_QUITTEE : ANIMATION_ABREGEE;
    }
    return lu == Lu::fin ? ANIMATION_QUITTEE : ANIMATION_FINIE;
}
