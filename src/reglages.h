// The player's settings: the strategy coach, the same stake again, the
// window size, the sound and the animations. A plain record, to and from "key=value" lines, kept in
// $XDG_CONFIG_HOME/velmora/options. No SDL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Window sizes, in the order the Option screen steps through them.
constexpr int32_t FENETRE_X1 = 0;
constexpr int32_t FENETRE_X1_5 = 1;
constexpr int32_t FENETRE_X2 = 2;

// Animation speeds, in the order the Option screen steps through them.
constexpr int32_t ANIMATIONS_NORMALES = 0;
constexpr int32_t ANIMATIONS_RAPIDES = 1;
constexpr int32_t ANIMATIONS_AUCUNE = 2;

// Reglages{} is every setting at its default.
struct Reglages {
    int32_t conseil = 0;     // 1: the coach shows the best hold and what the marked one is worth
    int32_t memeMise = 0;    // 1: each hand starts with the previous hand's stake on the table
    int32_t fenetre = FENETRE_X1;  // FENETRE_X1, FENETRE_X1_5 or FENETRE_X2
    int32_t son = 1;         // 1: the table is heard; 0: the audio device is not even opened
    int32_t animations = ANIMATIONS_NORMALES;

    bool operator==(const Reglages&) const = default;
};

// Every setting at its default.
void initReglages(Reglages* reglages);

// The settings as "key=value" lines.
std::string texteReglages(const Reglages* reglages);

// Applies the lines of texte over *reglages. Unknown keys and lines without
// "=" are ignored; a known key with a bad value gets its default, with one
// line on standard error naming source.
void litReglages(std::string_view texte, Reglages* reglages, const std::string& source);

// "…/velmora/options" under the configuration base, or "" when there is none.
std::string cheminReglages();

// Defaults, then the settings file if there is a readable one.
void chargeReglages(Reglages* reglages);

// Writes the settings file safely; false (with one line on standard error) on failure.
bool enregistreReglages(const Reglages* reglages);

// The value of SDL12COMPAT_WINDOW_SCALING for a window size code.
const char* echelleFenetre(int32_t fenetre);
