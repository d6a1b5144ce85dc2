// What the table sounds like. bruitsEntre is a pure function from the table
// before a moment to the table after it (a press, a deal, a draw, a result)
// to the sounds that moment calls for; ecouteTable is the glue the loop calls
// before and after each event: it follows the sound setting and plays what
// changed since it last heard the table.
#pragma once

#include <cstdint>

#include "interfaceGraphique.h"
#include "reglages.h"
#include "son.h"

struct Statistique;

// The table as the ear knows it.
struct Instant {
    EtatSurface surface;
    int32_t etat;
    int32_t credit;
    int32_t mise;
    Reglages reglages;
};

constexpr int32_t ECART_CARTES_MS = 60;     // between two cards dealt or drawn
constexpr int32_t PAUSE_RESULTAT_MS = 60;   // from the last card's turn to the result
constexpr int32_t NB_BRUITS_MAX = 8;

// The sound of a hand's result, by combination code (Rien to QuinteFlushRoyal).
int32_t sonResultat(int32_t combinaison);

// Writes the sounds of what changed from avant to apres into bruits (at most
// NB_BRUITS_MAX), in the order they start, and returns their number:
// - on the betting screen a stake raised is a clink (Tapis a cascade), a
//   stake taken back the sweep, a chip that moved nothing a click;
// - on the first hand a hold button marked for Changer ticks, back to Garder
//   ticks another way;
// - without animations, every card that turned up flicks, in slot order,
//   ECART_CARTES_MS apart (with them, each card flicks as the animation
//   turns it: entendRetournees);
// - a hand just scored rings its result, PAUSE_RESULTAT_MS after the last card;
// - the game over screen's arrival plays the falling phrase;
// - any other button pressed, or a setting changed, clicks.
int32_t bruitsEntre(const Instant* avant, const Instant* apres, Bruit* bruits);

// The ear of the table: the mixer and the table as it was last heard.
struct Ecoute {
    Son son;
    Instant dernier{};
    bool entendu = false;  // dernier holds a table
};

// The table now. Without counters, a stake and credit of 0; without
// settings, every setting at its default.
Instant instantTable(const EtatSurface* etatSurface, const Statistique* statistiques, int32_t etat,
                     const Reglages* reglages);

// Opens or closes the mixer by the sound setting (and closes it when the
// player quits), plays what changed since the last call, and remembers the table.
void ecouteTable(Ecoute* ecoute, const Instant* maintenant);

// Told by an animation which slots (a bit per slot) began to turn over: one
// flick each, from its slot's side, ECART_RETOURNEES_MS apart when several
// turn at once. ecoute is the Ecoute.
constexpr int32_t ECART_RETOURNEES_MS = 20;
void entendRetournees(void* ecoute, int32_t places);

// The ear and the records of the table it reads, for the loop. Without an
// ear, nothing is heard.
struct Oreille {
    Ecoute* ecoute;
    const EtatSurface* etatSurface;
    const Statistique* statistiques;
    const int32_t* etat;
    const Reglages* reglages;
};

void ecoute(const Oreille* oreille);

// A screen's event function between two hearings of the table: what changed
// before its wait (a deal, a draw, a result, a new screen), then what its
// event changed. The sound starts before the screen is redrawn.
template <typename... Arguments>
void entendu(const Oreille* oreille, void (*gestionEvent)(Arguments...), Arguments... arguments)
{
    ecoute(oreille);
    gestionEvent(arguments...);
    ecoute(oreille);
}
