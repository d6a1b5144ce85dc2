#include "fichiers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

struct BaseDefaut {
    const char* variable;
    const char* sousHome;
};

constexpr BaseDefaut bases[] = {
    {"XDG_DATA_HOME", "/.local/share"},
    {"XDG_CONFIG_HOME", "/.config"},
};

// Relative values are ignored, as the XDG base directory rules say.
bool absolu(const char* chemin) { return chemin != nullptr && chemin[0] == '/'; }

std::string dossierParent(const std::string& chemin)
{
    const std::size_t barre = chemin.rfind('/');
    return barre == std::string::npos || barre == 0 ? std::string("/") : chemin.substr(0, barre);
}

// mkdir -p, private to the player for the directories it creates.
bool creeDossiers(const std::string& dossier, std::string* erreur)
{
    for (std::size_t barre = dossier.find('/', 1);; barre = dossier.find('/', barre + 1)) {
        const std::string partiel = dossier.substr(0, barre);
        if (mkdir(partiel.c_str(), 0700) != 0 && errno != EEXIST) {
            *erreur = partiel + " : " + std::strerror(errno);
            return false;
        }
        if (barre == std::string::npos) {
            return true;
        }
    }
}

bool ecritTout(int fd, std::string_view contenu)
{
    while (!contenu.empty()) {
        const ssize_t n = write(fd, contenu.data(), contenu.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        contenu.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool synchroniseDossier(const std::string& dossier)
{
    const int fd = open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

}  // namespace

std::string dossierVelmora(BaseXdg base)
{
    const BaseDefaut& defaut = bases[static_cast<int>(base)];
    const char* xdg = std::getenv(defaut.variable);
    if (absolu(xdg)) {
        return std::string(xdg) + "/velmora";
    }
    const char* home = std::getenv("HOME");
    if (absolu(home)) {
        return std::string(home) + defaut.sousHome + "/velmora";
    }
    return {};
}

Lecture litFichier(const std::string& chemin, std::size_t tailleMax, std::string* contenu, std::string* erreur)
{
    const int fd = open(chemin.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return Lecture::absent;
        }
        *erreur = std::strerror(errno);
        return Lecture::illisible;
    }
    struct stat etat {};
    if (fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode)) {
        close(fd);
        *erreur = "ce n'est pas un fichier ordinaire";
        return Lecture::illisible;
    }
    // One byte more than allowed tells a file that is too large, whatever its size says.
    contenu->assign(tailleMax + 1, '\0');
    std::size_t lus = 0;
    while (lus < contenu->size()) {
        const ssize_t n = read(fd, contenu->data() + lus, contenu->size() - lus);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            *erreur = std::strerror(errno);
            close(fd);
            return Lecture::illisible;
        }
        if (n == 0) {
            break;
        }
        lus += static_cast<std::size_t>(n);
    }
    close(fd);
    if (lus > tailleMax) {
        *erreur = "fichier trop grand (plus de " + std::to_string(tailleMax) + " octets)";
        return Lecture::illisible;
    }
    contenu->resize(lus);
    return Lecture::lu;
}

bool litOuMetDeCote(const std::string& chemin, std::size_t tailleMax,
                    const std::function<bool(std::string_view texte, std::string* raison)>& lecture)
{
    std::string texte;
    std::string raison;
    switch (litFichier(chemin, tailleMax, &texte, &raison)) {
        case Lecture::absent:
            return false;
        case Lecture::lu:
            if (lecture(texte, &raison)) {
                return true;
            }
            break;
        case Lecture::illisible:
            break;
    }
    metDeCote(chemin, raison);
    return false;
}

bool ecritFichier(const std::string& chemin, std::string_view contenu, std::string* erreur)
{
    const std::string dossier = dossierParent(chemin);
    if (!creeDossiers(dossier, erreur)) {
        return false;
    }
    // A name of its own for each writer, so two windows of the game never
    // write into the same temporary file.
    std::string temporaire = chemin + ".XXXXXX";
    const int fd = mkstemp(temporaire.data());
    if (fd < 0) {
        *erreur = std::strerror(errno);
        return false;
    }
    const bool ecrit = ecritTout(fd, contenu) && fsync(fd) == 0;
    const int errEcriture = errno;
    const bool ferme = close(fd) == 0;
    if (!ecrit || !ferme || rename(temporaire.c_str(), chemin.c_str()) != 0) {
        *erreur = std::strerror(ecrit ? errno : errEcriture);
        unlink(temporaire.c_str());
        return false;
    }
    if (!synchroniseDossier(dossier)) {
        *erreur = std::string("synchronisation du dossier : ") + std::strerror(errno);
        return false;
    }
    return true;
}

namespace {

// "<base>.XXXXXX" as mkstemp fills it: six letters or digits.
bool nomTemporaire(std::string_view nom, std::string_view base)
{
    constexpr std::size_t X = 6;
    if (nom.size() != base.size() + 1 + X || !nom.starts_with(base) || nom[base.size()] != '.') {
        return false;
    }
    for (char c : nom.substr(base.size() + 1)) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int supprimeTemporairesAnciens(const std::string& chemin, std::chrono::seconds age)
{
    const std::string dossier = dossierParent(chemin);
    const std::string base = chemin.substr(chemin.rfind('/') + 1);
    const std::unique_ptr<DIR, int (*)(DIR*)> flux(opendir(dossier.c_str()), closedir);
    if (!flux) {
        return 0;
    }
    const std::time_t limite = std::time(nullptr) - age.count();
    int supprimes = 0;
    while (const dirent* entree = readdir(flux.get())) {
        const std::string complet = dossier + "/" + entree->d_name;
        struct stat etat {};
        if (nomTemporaire(entree->d_name, base) && lstat(complet.c_str(), &etat) == 0 && S_ISREG(etat.st_mode) &&
            etat.st_mtime < limite && unlink(complet.c_str()) == 0) {
            ++supprimes;
        }
    }
    return supprimes;
}

bool supprimeFichier(const std::string& chemin, std::string* erreur)
{
    if (unlink(chemin.c_str()) != 0 && errno != ENOENT) {
        *erreur = std::strerror(errno);
        return false;
    }
    synchroniseDossier(dossierParent(chemin));
    return true;
}

void metDeCote(const std::string& chemin, std::string_view raison)
{
    const std::string cote = chemin + ".illisible";
    if (rename(chemin.c_str(), cote.c_str()) == 0) {
        std::fprintf(stderr, "velmora : %s inutilisable (%.*s), mis de cote sous %s\n", chemin.c_str(),
                     static_cast<int>(raison.size()), raison.data(), cote.c_str());
    } else {
        std::fprintf(stderr, "velmora : %s inutilisable (%.*s), ignore\n", chemin.c_str(),
                     static_cast<int>(raison.size()), raison.data());
    }
}
