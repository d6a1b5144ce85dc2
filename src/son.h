// Sound: the mixer, opened only when the setting asks for it and a device
// answers; the generated sounds, loaded once; a sound played by its code, now
// or a few milliseconds later. Without a device the game plays silently.
#pragma once

#include <SDL_mixer.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// The sounds by code; each is the file son/<name>.wav under the data directory.
constexpr int32_t SON_JETON = 0;        // a chip staked
constexpr int32_t SON_TAPIS = 1;        // the whole credit staked: a cascade of chips
constexpr int32_t SON_ANNULER = 2;      // the stake taken back
constexpr int32_t SON_CARTE = 3;        // one card dealt or drawn
constexpr int32_t SON_CHANGER = 4;      // a hold button turned to Changer
constexpr int32_t SON_GARDER = 5;       // and back to Garder
constexpr int32_t SON_CLIC = 6;         // any other button
constexpr int32_t SON_PERDU = 7;        // a hand that pays nothing
constexpr int32_t SON_GAIN_PETIT = 8;   // a pair or two pairs
constexpr int32_t SON_GAIN_MOYEN = 9;   // three of a kind to a full house
constexpr int32_t SON_GAIN_GRAND = 10;  // four of a kind, a straight flush
constexpr int32_t SON_ROYALE = 11;      // the royal flush
constexpr int32_t SON_FIN_PARTIE = 12;  // the credit is gone
constexpr int32_t NB_SONS = 13;

constexpr std::array<std::string_view, NB_SONS> nomsSons = {
    "jeton", "tapis",     "annuler",   "carte",     "changer", "garder",   "clic",
    "perdu", "gainPetit", "gainMoyen", "gainGrand", "royale",  "finPartie"};

// The mixer: 44.1 kHz, 16-bit stereo, 512 frames a buffer (11.6 ms).
constexpr int FREQUENCE_SON = 44100;
constexpr int TAMPON_SON = 512;
constexpr int32_t NB_VOIES = 16;       // sounds heard at once
constexpr int32_t DELAI_MAX_MS = 800;  // the longest wait before a sound starts

// A sound to play: its code, after delai milliseconds, from the card slot
// emplacement (0 to 4, a little to the left or right) or from the middle (-1).
struct Bruit {
    int32_t code;
    int32_t delai = 0;
    int32_t emplacement = -1;

    bool operator==(const Bruit&) const = default;
};

constexpr int32_t SON_FERME = 0;   // not opened (the setting is off, or not yet asked)
constexpr int32_t SON_OUVERT = 1;  // the device plays
constexpr int32_t SON_MUET = 2;    // no device answered: not asked again in this run

struct Son {
    int32_t etat = SON_FERME;
    // Each sound in the device's format, after DELAI_MAX_MS of silence: a
    // sound delayed by d starts d before the end of that silence.
    std::array<std::vector<Uint8>, NB_SONS> pistes;
    int octetsParMs = 0;
    std::array<Mix_Chunk, NB_VOIES> voies{};  // what each mixing channel plays
};

// Opens the mixer and loads the sounds from son/ under the working directory,
// once. Without a device, one line on standard error and the state SON_MUET:
// every later call is silent. True when the device plays.
bool ouvreSon(Son* son);

// Stops every sound and closes the mixer (SON_MUET stays).
void fermeSon(Son* son);

// Opened when the setting son is 1, closed when it is 0.
void accordeSon(Son* son, int32_t reglageSon);

// Nothing when the mixer is not open, or for a code without a sound.
void joueSon(Son* son, const Bruit& bruit);

// The sounds start in the same mixing buffer, so their delays hold to the sample.
void joueSons(Son* son, const Bruit* bruits, int32_t nombre);
