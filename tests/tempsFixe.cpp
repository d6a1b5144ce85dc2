// Loaded ahead of the C library into a game started by the window test:
// time() answers VELMORA_TEMPS, so that two games seeded from the clock deal
// the same cards.
#include <cstdlib>
#include <ctime>

extern "C" time_t time(time_t* t) noexcept
{
    const char* fixe = std::getenv("VELMORA_TEMPS");
    const time_t valeur = fixe != nullptr ? std::strtoll(fixe, nullptr, 10) : 0;
    if (t != nullptr) {
        *t = valeur;
    }
    return valeur;
}
