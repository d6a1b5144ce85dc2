// Sound primitives of the generator: a mono track in floats at 44.1 kHz,
// pitched partials with exponential decay, filtered noise, envelopes that
// start and end at zero, and the WAV writer (16-bit PCM). Everything is
// computed from constants and a seeded generator of our own, so the files are
// the same bytes on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int FREQUENCE_ECHANTILLONS = 44100;

struct Piste {
    std::vector<float> echantillons;  // full scale is -1 to 1

    explicit Piste(double secondes = 0);
    double duree() const;
};

// One partial of a struck sound: a frequency as a ratio of the note's, its
// amplitude and the time its amplitude takes to fall by e.
struct Partiel {
    double rapport, amplitude, decroissance;
};

// A struck note: the partials, each starting at its peak after a raised-cosine
// attack of `attaque` seconds, mixed into `piste` from `debut` (seconds).
void frappe(Piste& piste, double debut, double frequence, const std::vector<Partiel>& partiels, double gain,
            double attaque = 0.002);

// The same note whose pitch glides from `frequence` to `frequenceFin` over
// `glissement` seconds.
void frappeGlissee(Piste& piste, double debut, double frequence, double frequenceFin, double glissement,
                   const std::vector<Partiel>& partiels, double gain, double attaque = 0.002);

// Repeatable white noise in -1 to 1.
struct Alea {
    uint32_t etat;
    float suivant();
};

// A burst of noise through a two-pole band-pass whose centre glides
// exponentially from `centre` to `centreFin` over the burst, shaped by an
// attack of `attaque` and a fall by e every `decroissance` seconds; mixed into
// `piste` from `debut`, `duree` seconds long.
struct Souffle {
    double debut, duree, centre, centreFin, qualite, attaque, decroissance, gain;
};
void souffle(Piste& piste, const Souffle& s, Alea& alea);

// Ends: a raised-cosine rise over the first `entree` seconds and fall over the
// last `sortie` seconds, so that the first and last samples are exactly 0.
void fondus(Piste& piste, double entree, double sortie);

// Scales the track so that its peak is `decibels` dBFS (negative).
void normalise(Piste& piste, double decibels);

// Writes a mono 16-bit PCM WAV file; false if it cannot be written.
bool ecrisWav(const Piste& piste, const std::string& chemin);

// Equal-tempered pitch of a MIDI note number (69 is A4, 440 Hz).
double hauteur(int note);
