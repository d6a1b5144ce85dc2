// Scripted input for driving the game on SDL's dummy display: clicks at the
// buttons' places, pushed onto SDL's queue before the code that reads them.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

struct Point {
    uint16_t x, y;
};

// The middle of each button's hit rectangle.
constexpr Point NOUVELLE_PARTIE{434, 162};
constexpr Point REPRENDRE{434, 221};
constexpr Point OPTION{434, 279};
constexpr Point STATISTIQUES{434, 337};
constexpr Point EFFACER{810, 470};
constexpr Point OUI{356, 289};
constexpr Point NON{516, 289};
constexpr Point AIDE{60, 439};
constexpr Point APROPOS{60, 470};
constexpr Point RETOUR{60, 470};
constexpr Point CONTINUER{60, 470};
constexpr Point DISTRIBUER{461, 459};
constexpr Point JETON_10{329, 243};
constexpr Point JETON_1{80, 243};
constexpr Point ALLIN{434, 243};
constexpr Point RESET{434, 326};
constexpr Point garder(int i) { return Point{static_cast<uint16_t>(91 + 91 * i), 329}; }

inline void pousseBouton(Uint8 type, Point p, Uint8 bouton = SDL_BUTTON_LEFT)
{
    const Uint8 etat = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_Event e{.button = {type, 0, bouton, etat, p.x, p.y}};
    SDL_PushEvent(&e);
}

inline void presse(Point p) { pousseBouton(SDL_MOUSEBUTTONDOWN, p); }
inline void relache(Point p) { pousseBouton(SDL_MOUSEBUTTONUP, p); }
inline void clic(Point p)
{
    presse(p);
    relache(p);
}

inline void pousseTouche(SDLKey touche, Uint8 type = SDL_KEYDOWN)
{
    SDL_Event e{.key = {type, 0, Uint8(type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED), {0, touche, KMOD_NONE, 0}}};
    SDL_PushEvent(&e);
}

inline void pousseQuitter()
{
    SDL_Event e{.quit = {SDL_QUIT}};
    SDL_PushEvent(&e);
}

// A screen waits for ever on an empty queue, so a script whose clicks no
// longer match the screens would hang until CTest's limit. The alarm ends the
// test program with a message instead. Ctrl-C ends it too: SDL would
// otherwise turn it into a close request, which the game just plays.
inline void gardeTemps(unsigned secondes = 15)
{
    static char message[256];
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::snprintf(message, sizeof message, "\n%s.%s: still waiting for input after %u s; the script's clicks do not "
                  "match the screens\n", test ? test->test_suite_name() : "", test ? test->name() : "", secondes);
    signal(SIGALRM, +[](int) {
        [[maybe_unused]] auto n = write(STDERR_FILENO, message, std::strlen(message));
        _exit(1);
    });
    signal(SIGINT, +[](int) { _exit(130); });
    alarm(secondes);
}
