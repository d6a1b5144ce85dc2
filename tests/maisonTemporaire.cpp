// Linked into every test program: the process runs with a home of its own,
// so no test reads a saved game or settings from the player's home or
// leaves one there, whether CTest or a person starts it.
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
    }
    ~MaisonTemporaire()
    {
        std::error_code ignore;
        if (getpid() == proprietaire) std::filesystem::remove_all(dossier, ignore);
    }
} maison;

}  // namespace
