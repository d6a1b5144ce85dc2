#include "lignesCles.h"

#include <zlib.h>

#include <cstdio>

namespace {

constexpr std::string_view CLE_CRC = "crc32";

}  // namespace

std::string ligneCrc(std::string_view corps)
{
    const auto crc = static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(corps.data()), static_cast<uInt>(corps.size())));
    char ligne[32];
    std::snprintf(ligne, sizeof ligne, "%.*s %08x\n", static_cast<int>(CLE_CRC.size()), CLE_CRC.data(), crc);
    return ligne;
}

bool LecteurLignes::suivante(std::string_view* ligne)
{
    const std::size_t fin = reste_.find('\n');
    if (fin == std::string_view::npos) {
        return false;
    }
    *ligne = reste_.substr(0, fin);
    reste_.remove_prefix(fin + 1);
    return true;
}

bool LecteurLignes::crcJuste() const
{
    return reste_ == ligneCrc(texte_.substr(0, texte_.size() - reste_.size()));
}

bool LecteurLignes::entier(std::string_view* ligne, int64_t* valeur)
{
    if (!ligne->starts_with(' ')) {
        return false;
    }
    ligne->remove_prefix(1);
    const char* fin = ligne->data() + ligne->size();
    const auto [suite, ec] = std::from_chars(ligne->data(), fin, *valeur);
    if (ec != std::errc() || suite == ligne->data() || (suite != fin && *suite != ' ')) {
        return false;
    }
    ligne->remove_prefix(static_cast<std::size_t>(suite - ligne->data()));
    return true;
}
