#include "son.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// While a device is looked for, ALSA and SDL write their own complaints to
// standard error, a dozen lines on a machine without sound: they go to
// /dev/null, and one line of ours says why the game is silent.
int fermeErreurs()
{
    std::fflush(stderr);
    const int copie = dup(STDERR_FILENO);
    const int nul = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (copie >= 0 && nul >= 0) {
        dup2(nul, STDERR_FILENO);
    }
    if (nul >= 0) {
        close(nul);
    }
    return copie;
}

void rendErreurs(int copie)
{
    if (copie >= 0) {
        std::fflush(stderr);
        dup2(copie, STDERR_FILENO);
        close(copie);
    }
}

// The mixer opened at 44.1 kHz, 16-bit stereo; the reason when it is not.
bool ouvreMixeur(std::string* raison)
{
    const int erreurs = fermeErreurs();
    const bool ouvert = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
                        Mix_OpenAudio(FREQUENCE_SON, AUDIO_S16SYS, 2, TAMPON_SON) == 0;
    if (!ouvert) {
        *raison = SDL_GetError();  // before closing sets an error of its own
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    rendErreurs(erreurs);
    return ouvert;
}

// The byte that silence is made of, in the device's sample format.
Uint8 octetSilence(Uint16 format)
{
    return format == AUDIO_U8 ? 0x80 : 0;
}

// The WAV in the device's format, after DELAI_MAX_MS of silence; empty
// when the file cannot be read.
std::vector<Uint8> chargePiste(int32_t code, int octetsParMs, Uint16 format)
{
    const std::string chemin = "son/" + std::string(nomsSons[code]) + ".wav";
    Mix_Chunk* brut = Mix_LoadWAV(chemin.c_str());
    if (brut == nullptr) {
        return {};
    }
    std::vector<Uint8> piste(static_cast<size_t>(DELAI_MAX_MS) * octetsParMs + brut->alen, octetSilence(format));
    std::memcpy(piste.data() + static_cast<size_t>(DELAI_MAX_MS) * octetsParMs, brut->abuf, brut->alen);
    Mix_FreeChunk(brut);
    return piste;
}

// Where a card's slot sounds from: the outer slots a little to each side.
void placeVoie(int voie, int32_t emplacement)
{
    if (emplacement < 0 || emplacement > 4) {
        Mix_SetPanning(voie, 255, 255);  // the middle, which removes the effect
        return;
    }
    const int ecart = (emplacement - 2) * 38;  // -76 to 76
    Mix_SetPanning(voie, static_cast<Uint8>(255 - std::max(ecart, 0)), static_cast<Uint8>(255 + std::min(ecart, 0)));
}

// A free mixing channel, or the one that has played longest.
int voieLibre()
{
    int voie = Mix_GroupAvailable(-1);
    if (voie < 0) {
        voie = Mix_GroupOldest(-1);
        Mix_HaltChannel(voie);
    }
    return voie;
}

}  // namespace

bool ouvreSon(Son* son)
{
    if (son->etat != SON_FERME) {
        return son->etat == SON_OUVERT;
    }
    std::string raison;
    if (!ouvreMixeur(&raison)) {
        std::fprintf(stderr, "velmora : pas de son (%s), le jeu continue en silence\n", raison.c_str());
        son->etat = SON_MUET;
        return false;
    }
    int frequence = FREQUENCE_SON, canaux = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&frequence, &format, &canaux);
    Mix_AllocateChannels(NB_VOIES);
    // 44 whole frames a millisecond at 44.1 kHz: delays come 0.2 % short. The
    // low byte of the format is its bits per sample.
    son->octetsParMs = frequence / 1000 * canaux * ((format & 0xFF) / 8);
    int manquants = 0;
    for (int32_t code = 0; code < NB_SONS; ++code) {
        son->pistes[code] = chargePiste(code, son->octetsParMs, format);
        manquants += son->pistes[code].empty();
    }
    if (manquants > 0) {
        std::fprintf(stderr, "velmora : %d sons illisibles dans son/ (%s), ils ne seront pas joues\n", manquants,
                     Mix_GetError());
    }
    son->etat = SON_OUVERT;
    return true;
}

void fermeSon(Son* son)
{
    if (son->etat != SON_OUVERT) {
        return;
    }
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    for (std::vector<Uint8>& piste : son->pistes) {
        piste = {};
    }
    son->etat = SON_FERME;
}

void accordeSon(Son* son, int32_t reglageSon)
{
    if (reglageSon == 1) {
        ouvreSon(son);
    } else {
        fermeSon(son);
    }
}

void joueSon(Son* son, const Bruit& bruit)
{
    if (son->etat != SON_OUVERT || bruit.code < 0 || bruit.code >= NB_SONS || son->pistes[bruit.code].empty()) {
        return;
    }
    const std::vector<Uint8>& piste = son->pistes[bruit.code];
    const int32_t delai = std::clamp(bruit.delai, 0, DELAI_MAX_MS);
    const size_t debut = static_cast<size_t>(DELAI_MAX_MS - delai) * son->octetsParMs;
    const int voie = voieLibre();
    if (voie < 0 || voie >= NB_VOIES) {
        return;
    }
    Mix_Chunk& morceau = son->voies[voie];
    morceau = Mix_Chunk{0, const_cast<Uint8*>(piste.data()) + debut, static_cast<Uint32>(piste.size() - debut),
                        MIX_MAX_VOLUME};
    placeVoie(voie, bruit.emplacement);
    Mix_PlayChannel(voie, &morceau, 0);
}

void joueSons(Son* son, const Bruit* bruits, int32_t nombre)
{
    if (son->etat != SON_OUVERT || nombre <= 0) {
        return;
    }
    SDL_LockAudio();
    for (int32_t i = 0; i < nombre; ++i) {
        joueSon(son, bruits[i]);
    }
    SDL_UnlockAudio();
}
