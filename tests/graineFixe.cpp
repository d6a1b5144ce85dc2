// Preloaded into the game by the window tests: time() answers the value of
// VELMORA_TEMPS, so that the game seeds its shuffle with a value the test
// knows and replays.
#include <cstdlib>
#include <ctime>

extern "C" time_t time(time_t* resultat)
{
    const char* temps = std::getenv("VELMORA_TEMPS");
    const time_t valeur = temps != nullptr ? static_cast<time_t>(std::atoll(temps)) : 0;
    if (resultat != nullptr) {
        *resultat = valeur;
    }
    return valeur;
}
