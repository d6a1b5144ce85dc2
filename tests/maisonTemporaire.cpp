// Linked into every test program: the process runs with a home of its own,
// so no test reads a saved game or settings from the player's home or
// leaves one there, whether CTest or a person starts it; and with SDL's dummy
// audio driver unless one is chosen, so that no test depends on the
// machine's sound card (a test that listens picks the disk driver).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct MaisonTemporaire {
    char dossier[32] = "/tmp/velmora-maisonXXXXXX";
    pid_t proprietaire = getpid();  // forked children leave the directory alone

    MaisonTemporaire()
    {
        if (mkdtemp(dossier) == nullptr) std::abort();
        setenv("HOME", dossier, 1);
        setenv("XDG_DATA_HOME", (std::string(dossier) + "/donnees").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (std::string(dossier) + "/configuration").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    ~MaisonTemporaire()
    {
        std::error_code ignore;
        if (getpid() == proprietaire) std::filesystem::remove_all(dossier, ignore);
    }
} maison;

}  // namespace
