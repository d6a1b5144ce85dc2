// Preloaded into the game by bench_demarrage: when the game's first SDL_Flip
// has returned, the first frame is on the screen, and the monotonic time of
// that moment (nanoseconds) is written to the file descriptor named by
// VELMORA_PREMIERE_IMAGE. Every flip is passed on to SDL unchanged.
#include <SDL.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

extern "C" int SDL_Flip(SDL_Surface* ecran)
{
    using Flip = int (*)(SDL_Surface*);
    static const Flip flipSdl = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "SDL_Flip"));
    static bool premiere = true;
    const int resultat = flipSdl(ecran);
    if (premiere) {
        premiere = false;
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        const int64_t ns = int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
        if (const char* fd = std::getenv("VELMORA_PREMIERE_IMAGE")) {
            [[maybe_unused]] ssize_t n = write(std::atoi(fd), &ns, sizeof ns);
        }
    }
    return resultat;
}
