// Synthesizes every sound of the game into <output-dir>/son/<name>.wav: mono,
// 16-bit, 44.1 kHz, each starting and ending at zero, its peak at most -5 dBFS.
//
//   genereSons <output-dir>
//
// Chips are short inharmonic partials (clay and metal struck together), cards
// and sweeps filtered noise, ticks and clicks tiny pitched knocks, and the
// results chimes: a few harmonics, each dying away exponentially, their
// fundamentals above 250 Hz so that small laptop speakers carry them.
#include "son.h"
#include "synthese.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

// A chip struck against another: bright inharmonic partials, quickly gone.
const std::vector<Partiel> argile = {
    {1.0, 1.0, 0.030}, {1.61, 0.70, 0.020}, {2.32, 0.50, 0.014}, {3.10, 0.30, 0.010}, {0.61, 0.25, 0.035}};

// A small bell: harmonics with a touch of inharmonic shimmer.
const std::vector<Partiel> cloche(double tenue)
{
    return {{1.0, 1.0, tenue}, {2.0, 0.42, tenue * 0.55}, {3.0, 0.18, tenue * 0.35}, {4.16, 0.10, tenue * 0.22}};
}

// A soft mallet on wood, for the sadder notes: odd partials of a bar.
const std::vector<Partiel> bois(double tenue)
{
    return {{1.0, 1.0, tenue}, {2.0, 0.5, tenue * 0.5}, {3.92, 0.25, tenue * 0.25}, {5.0, 0.08, tenue * 0.2}};
}

// One clink: the strike and its rattle a moment later.
void clink(Piste& p, double debut, double frequence, double gain, Alea& alea)
{
    frappe(p, debut, frequence, argile, gain, 0.0008);
    frappe(p, debut + 0.026, frequence * 1.045, argile, gain * 0.45, 0.0008);
    souffle(p, {debut, 0.012, 5200, 5200, 1.5, 0.0006, 0.0025, gain * 0.5}, alea);
}

Piste jeton()
{
    Piste p(0.16);
    Alea alea{0x6a65746f};
    clink(p, 0.001, 2250, 1.0, alea);
    fondus(p, 0.001, 0.012);
    normalise(p, -9);
    return p;
}

// Chips spilling from a stack: faster and softer as it empties.
Piste tapis()
{
    Piste p(0.72);
    Alea alea{0x74617069};
    double t = 0.001;
    for (int i = 0; i < 13; ++i) {
        const double hauteurAuHasard = 0.5 + 0.5 * alea.suivant(), ecartAuHasard = 0.5 + 0.5 * alea.suivant();
        clink(p, t, 2250 * (0.90 + 0.18 * hauteurAuHasard), 1.0 - 0.04 * i - 0.3 * ecartAuHasard, alea);
        t += (0.070 - 0.0035 * i) * (0.6 + 0.8 * ecartAuHasard);
    }
    fondus(p, 0.001, 0.02);
    normalise(p, -8);
    return p;
}

// The stake drawn back across the felt, landing with two soft clinks.
Piste annuler()
{
    Piste p(0.40);
    Alea alea{0x616e6e75};
    souffle(p, {0.0, 0.30, 3200, 700, 2.2, 0.07, 0.09, 1.0}, alea);
    clink(p, 0.24, 1900, 0.30, alea);
    clink(p, 0.29, 1750, 0.22, alea);
    fondus(p, 0.002, 0.02);
    normalise(p, -11);
    return p;
}

// A card snapped off the deck and laid on the felt.
Piste carte()
{
    Piste p(0.08);
    Alea alea{0x63617274};
    souffle(p, {0.0, 0.05, 4200, 2400, 1.1, 0.002, 0.010, 1.0}, alea);
    souffle(p, {0.016, 0.055, 1300, 900, 1.4, 0.002, 0.014, 0.8}, alea);
    fondus(p, 0.001, 0.01);
    normalise(p, -10);
    return p;
}

// A light tick: a tiny knock at the pitch given.
Piste tic(double frequence, uint32_t graine, double decibels)
{
    Piste p(0.05);
    Alea alea{graine};
    frappe(p, 0.0, frequence, {{1.0, 1.0, 0.010}, {2.0, 0.35, 0.006}, {3.0, 0.15, 0.004}}, 1.0, 0.0008);
    souffle(p, {0.0, 0.006, 4000, 4000, 1.2, 0.0005, 0.0015, 0.3}, alea);
    fondus(p, 0.0008, 0.008);
    normalise(p, decibels);
    return p;
}

Piste clic()
{
    Piste p(0.04);
    Alea alea{0x636c6963};
    frappe(p, 0.0, 900, {{1.0, 1.0, 0.007}, {2.55, 0.45, 0.005}}, 1.0, 0.0008);
    souffle(p, {0.0, 0.005, 2500, 2500, 1.0, 0.0005, 0.0012, 0.35}, alea);
    fondus(p, 0.0008, 0.008);
    normalise(p, -14);
    return p;
}

// A short low note that bends a little down: no harm done, try again.
Piste perdu()
{
    Piste p(0.50);
    frappeGlissee(p, 0.0, hauteur(57), hauteur(55), 0.12, bois(0.16), 1.0, 0.006);  // A3 falling to G3
    fondus(p, 0.006, 0.05);
    normalise(p, -9);
    return p;
}

// Notes of a chime: MIDI note and its start, in seconds.
struct Note {
    int note;
    double debut;
};

Piste carillon(double duree, const std::vector<Note>& notes, double tenue, double decibels)
{
    Piste p(duree);
    for (const Note& n : notes) frappe(p, n.debut, hauteur(n.note), cloche(tenue), 1.0, 0.003);
    fondus(p, 0.003, 0.06);
    normalise(p, decibels);
    return p;
}

// A pair or two pairs: a rising fourth.
Piste gainPetit() { return carillon(0.60, {{79, 0.0}, {84, 0.11}}, 0.22, -8); }

// Three of a kind to a full house: a major arpeggio.
Piste gainMoyen() { return carillon(1.00, {{72, 0.0}, {76, 0.09}, {79, 0.18}, {84, 0.27}}, 0.25, -7); }

// Four of a kind and the straight flush: the arpeggio, then the chord rung.
Piste gainGrand()
{
    return carillon(1.50, {{72, 0.0}, {76, 0.07}, {79, 0.14}, {84, 0.21}, {88, 0.28}, {84, 0.42}, {88, 0.42},
                           {91, 0.42}},
                    0.45, -6);
}

// The royal flush: a fanfare climbing two octaves, a repeated call, and the
// whole chord left to ring with a sparkle above it.
Piste royale()
{
    std::vector<Note> notes;
    const int montee[] = {67, 72, 76, 79, 84, 88, 91, 96};
    for (int i = 0; i < 8; ++i) notes.push_back({montee[i], 0.075 * i});
    for (double t : {0.70, 0.82, 0.94}) notes.push_back({91, t});
    for (int note : {72, 76, 79, 84, 88}) notes.push_back({note, 1.12});
    const int eclats[] = {91, 96, 100, 103, 100, 96};
    for (int i = 0; i < 6; ++i) notes.push_back({eclats[i], 1.30 + 0.11 * i});
    return carillon(2.60, notes, 0.55, -5);
}

// Game over: a phrase falling a fifth and more, the last note held.
Piste finPartie()
{
    Piste p(1.40);
    const Note phrase[] = {{67, 0.0}, {63, 0.22}, {60, 0.44}, {55, 0.66}};
    for (const Note& n : phrase) frappe(p, n.debut, hauteur(n.note), bois(n.debut < 0.6 ? 0.22 : 0.40), 1.0, 0.006);
    fondus(p, 0.006, 0.08);
    normalise(p, -7);
    return p;
}

// By code, in the order of nomsSons.
const std::function<Piste()> recettes[NB_SONS] = {
    jeton, tapis, annuler, carte, [] { return tic(1760, 0x63686e67, -13); }, [] { return tic(1320, 0x67617264, -14); },
    clic,  perdu, gainPetit, gainMoyen, gainGrand, royale, finPartie};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: genereSons <output-dir>\n");
        return 2;
    }
    const std::filesystem::path dossier = std::filesystem::path(argv[1]) / "son";
    std::error_code erreur;
    std::filesystem::create_directories(dossier, erreur);
    int echecs = 0;
    for (int32_t code = 0; code < NB_SONS; ++code) {
        const std::string chemin = (dossier / (std::string(nomsSons[code]) + ".wav")).string();
        if (!ecrisWav(recettes[code](), chemin)) {
            std::fprintf(stderr, "genereSons: cannot write %s\n", chemin.c_str());
            ++echecs;
        }
    }
    return echecs == 0 ? 0 : 1;
}
