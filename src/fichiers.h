// Files of the player's own: where they live under the XDG base directories,
// a bounded read, a write that leaves either the old file or the new one on
// disk and never a mix, and setting a damaged file aside. No SDL.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum class BaseXdg {
    donnees,        // $XDG_DATA_HOME, else $HOME/.local/share
    configuration,  // $XDG_CONFIG_HOME, else $HOME/.config
};

// The game's own directory under that base ("…/velmora"), or an empty string
// when neither the variable nor HOME gives an absolute path.
std::string dossierVelmora(BaseXdg base);

enum class Lecture {
    lu,
    absent,     // no such file: nothing was ever written
    illisible,  // unreadable or larger than the bound; *erreur says why
};

// Reads the whole file into *contenu when it holds at most tailleMax bytes.
Lecture litFichier(const std::string& chemin, std::size_t tailleMax, std::string* contenu, std::string* erreur);

// Reads a file of the player's own and hands its text to lecture, which says
// why when it refuses it. A file that cannot be read or that lecture refuses
// is set aside. True when lecture took it; false when there was none or it
// was set aside.
bool litOuMetDeCote(const std::string& chemin, std::size_t tailleMax,
                    const std::function<bool(std::string_view texte, std::string* raison)>& lecture);

// Creates the file's directory as needed, writes a temporary file beside it,
// flushes it to disk, renames it over chemin and flushes the directory.
// On failure the previous file is untouched, no temporary file is left, and
// *erreur says why.
bool ecritFichier(const std::string& chemin, std::string_view contenu, std::string* erreur);

// Removes the temporary files "<chemin>.XXXXXX" (six letters or digits, as a
// write killed midway leaves them) last changed more than `age` ago; never
// any other file. Returns how many went.
int supprimeTemporairesAnciens(const std::string& chemin, std::chrono::seconds age);

// Removes the file; a file that is already gone is no failure.
bool supprimeFichier(const std::string& chemin, std::string* erreur);

// Renames a file that cannot be used to "<chemin>.illisible", kept for the
// player, and says so in one line on standard error.
void metDeCote(const std::string& chemin, std::string_view raison);
