#include "reglages.h"

#include <array>
#include <cstdio>

#include "fichiers.h"

namespace {

// One setting: its key, its field, and the text of each of its codes (code =
// index). Its default is the field's in Reglages{}.
struct Cle {
    std::string_view nom;
    int32_t Reglages::*champ;
    std::array<std::string_view, 3> valeurs;
    int32_t nbValeurs;
};

constexpr std::array<Cle, 5> cles = {{
    {"conseil", &Reglages::conseil, {"0", "1"}, 2},
    {"memeMise", &Reglages::memeMise, {"0", "1"}, 2},
    {"fenetre", &Reglages::fenetre, {"1", "1.5", "2"}, 3},
    {"son", &Reglages::son, {"0", "1"}, 2},
    {"animations", &Reglages::animations, {"normales", "rapides", "aucune"}, 3},
}};

constexpr int32_t defaut(const Cle& cle)
{
    return Reglages{}.*cle.champ;
}
constexpr const Cle& cleFenetre = cles[2];
static_assert(cleFenetre.nom == "fenetre");

// The file is a handful of short lines: anything larger is not ours.
constexpr std::size_t TAILLE_MAX = 4096;

std::string_view sansBlancs(std::string_view texte)
{
    constexpr std::string_view blancs = " \t\r";
    const std::size_t debut = texte.find_first_not_of(blancs);
    if (debut == std::string_view::npos) {
        return {};
    }
    return texte.substr(debut, texte.find_last_not_of(blancs) - debut + 1);
}

void litLigne(std::string_view ligne, Reglages* reglages, const std::string& source)
{
    const std::size_t egal = ligne.find('=');
    if (egal == std::string_view::npos) {
        return;
    }
    const std::string_view nom = sansBlancs(ligne.substr(0, egal));
    const std::string_view valeur = sansBlancs(ligne.substr(egal + 1));
    for (const Cle& cle : cles) {
        if (cle.nom != nom) {
            continue;
        }
        for (int32_t code = 0; code < cle.nbValeurs; ++code) {
            if (cle.valeurs[code] == valeur) {
                reglages->*cle.champ = code;
                return;
            }
        }
        reglages->*cle.champ = defaut(cle);
        std::fprintf(stderr, "velmora : %s : valeur invalide pour %.*s (%.*s), %.*s par defaut\n", source.c_str(),
                     static_cast<int>(nom.size()), nom.data(), static_cast<int>(valeur.size()), valeur.data(),
                     static_cast<int>(cle.valeurs[defaut(cle)].size()), cle.valeurs[defaut(cle)].data());
        return;
    }
}

}  // namespace

void initReglages(Reglages* reglages)
{
    *reglages = Reglages{};
}

std::string texteReglages(const Reglages* reglages)
{
    std::string texte;
    for (const Cle& cle : cles) {
        const int32_t code = reglages->*cle.champ;
        texte.append(cle.nom).append("=");
        texte.append(cle.valeurs[code >= 0 && code < cle.nbValeurs ? code : defaut(cle)]).append("\n");
    }
    return texte;
}

void litReglages(std::string_view texte, Reglages* reglages, const std::string& source)
{
    while (!texte.empty()) {
        const std::size_t fin = texte.find('\n');
        litLigne(texte.substr(0, fin), reglages, source);
        texte.remove_prefix(fin == std::string_view::npos ? texte.size() : fin + 1);
    }
}

std::string cheminReglages()
{
    const std::string dossier = dossierVelmora(BaseXdg::configuration);
    return dossier.empty() ? dossier : dossier + "/options";
}

void chargeReglages(Reglages* reglages)
{
    initReglages(reglages);
    const std::string chemin = cheminReglages();
    if (chemin.empty()) {
        return;
    }
    std::string contenu;
    std::string erreur;
    switch (litFichier(chemin, TAILLE_MAX, &contenu, &erreur)) {
        case Lecture::lu:
            litReglages(contenu, reglages, chemin);
            break;
        case Lecture::illisible:
            std::fprintf(stderr, "velmora : %s illisible (%s), reglages par defaut\n", chemin.c_str(), erreur.c_str());
            break;
        case Lecture::absent:
            break;
    }
}

bool enregistreReglages(const Reglages* reglages)
{
    const std::string chemin = cheminReglages();
    std::string erreur = "aucun dossier de configuration (HOME et XDG_CONFIG_HOME)";
    if (chemin.empty() || !ecritFichier(chemin, texteReglages(reglages), &erreur)) {
        std::fprintf(stderr, "velmora : reglages non enregistres dans %s (%s)\n",
                     chemin.empty() ? "options" : chemin.c_str(), erreur.c_str());
        return false;
    }
    return true;
}

const char* echelleFenetre(int32_t fenetre)
{
    // The values are string literals, so data() ends with their terminating zero.
    return cleFenetre.valeurs[fenetre >= 0 && fenetre < cleFenetre.nbValeurs ? fenetre : 0].data();
}
