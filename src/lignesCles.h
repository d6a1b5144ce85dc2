// The text form shared by the files the game keeps: a first line naming the
// format and its version, "key v1 v2 ..." lines of whole numbers in a fixed
// order, single spaces, and a last line with the crc32 of every byte before
// it. No SDL.
#pragma once

#include <charconv>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

template <typename Entier>
void ajouteLigne(std::string* texte, std::string_view cle, std::span<const Entier> valeurs)
{
    texte->append(cle);
    for (Entier v : valeurs) {
        texte->push_back(' ');
        texte->append(std::to_string(v));
    }
    texte->push_back('\n');
}

template <typename Entier>
void ajouteLigne(std::string* texte, std::string_view cle, const Entier& valeur)
{
    ajouteLigne(texte, cle, std::span<const Entier>(&valeur, 1));
}

// The last line: "crc32 " and the crc32 of every byte of corps, in hexadecimal.
std::string ligneCrc(std::string_view corps);

// Reads the lines in order; each reading that fails keeps why in raison().
class LecteurLignes {
public:
    explicit LecteurLignes(std::string_view texte) : texte_(texte), reste_(texte) {}

    // The next line must be `cle` followed by exactly valeurs.size() integers of [min, max].
    template <typename Entier, std::size_t N>
    bool ligne(std::string_view cle, std::span<Entier, N> valeurs, int64_t min, int64_t max)
    {
        std::string_view ligne;
        if (!suivante(&ligne) || !ligne.starts_with(cle) || (ligne.size() > cle.size() && ligne[cle.size()] != ' ')) {
            return erreur("ligne \"" + std::string(cle) + "\" attendue");
        }
        ligne.remove_prefix(cle.size());
        for (Entier& v : valeurs) {
            int64_t lu = 0;
            if (!entier(&ligne, &lu) || lu < min || lu > max) {
                return erreur("valeur hors limites sur la ligne \"" + std::string(cle) + "\"");
            }
            v = static_cast<Entier>(lu);
        }
        return ligne.empty() || erreur("trop de valeurs sur la ligne \"" + std::string(cle) + "\"");
    }

    template <typename Entier>
    bool ligne(std::string_view cle, Entier* valeur, int64_t min, int64_t max)
    {
        return ligne(cle, std::span<Entier, 1>(valeur, 1), min, max);
    }

    bool suivante(std::string_view* ligne);
    // What is left is exactly the crc32 line of everything read.
    bool crcJuste() const;
    const std::string& raison() const { return raison_; }

private:
    static bool entier(std::string_view* ligne, int64_t* valeur);
    bool erreur(std::string raison)
    {
        raison_ = std::move(raison);
        return false;
    }

    std::string_view texte_;
    std::string_view reste_;
    std::string raison_;
};
