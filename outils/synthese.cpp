#include "synthese.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace {

constexpr double DEUX_PI = 2 * std::numbers::pi;

// 0 to 1 over `duree` seconds along half a cosine: no corner at either end.
double montee(double t, double duree)
{
    return t >= duree ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * t / duree);
}

size_t indice(double secondes)
{
    return static_cast<size_t>(std::max(0.0, std::round(secondes * FREQUENCE_ECHANTILLONS)));
}

// Below this a partial is no longer heard at 16 bits.
constexpr double INAUDIBLE = 1e-6;

void ecrisMot(std::ofstream& f, uint32_t valeur, int octets)
{
    for (int i = 0; i < octets; ++i) f.put(static_cast<char>(valeur >> (8 * i) & 0xFF));
}

}  // namespace

Piste::Piste(double secondes) : echantillons(indice(secondes), 0.0f) {}

double Piste::duree() const
{
    return static_cast<double>(echantillons.size()) / FREQUENCE_ECHANTILLONS;
}

void frappeGlissee(Piste& piste, double debut, double frequence, double frequenceFin, double glissement,
                   const std::vector<Partiel>& partiels, double gain, double attaque)
{
    const size_t premier = indice(debut);
    const double pas = 1.0 / FREQUENCE_ECHANTILLONS;
    for (const Partiel& p : partiels) {
        double phase = 0;
        for (size_t i = premier; i < piste.echantillons.size(); ++i) {
            const double t = static_cast<double>(i - premier) * pas;
            const double amplitude = gain * p.amplitude * std::exp(-t / p.decroissance) * montee(t, attaque);
            if (t > attaque && amplitude < INAUDIBLE) break;
            const double f = glissement > 0 && t < glissement
                                 ? frequence * std::pow(frequenceFin / frequence, t / glissement)
                                 : frequenceFin;
            piste.echantillons[i] += static_cast<float>(amplitude * std::sin(phase));
            phase = std::fmod(phase + DEUX_PI * f * p.rapport * pas, DEUX_PI);
        }
    }
}

void frappe(Piste& piste, double debut, double frequence, const std::vector<Partiel>& partiels, double gain,
            double attaque)
{
    frappeGlissee(piste, debut, frequence, frequence, 0, partiels, gain, attaque);
}

float Alea::suivant()
{
    // xorshift32: the same stream on every machine.
    etat ^= etat << 13;
    etat ^= etat >> 17;
    etat ^= etat << 5;
    return static_cast<float>(etat) / 2147483648.0f - 1.0f;
}

void souffle(Piste& piste, const Souffle& s, Alea& alea)
{
    const size_t premier = indice(s.debut);
    const size_t dernier = std::min(piste.echantillons.size(), premier + indice(s.duree));
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = premier; i < dernier; ++i) {
        const double t = static_cast<double>(i - premier) / FREQUENCE_ECHANTILLONS;
        const double centre = s.centre * std::pow(s.centreFin / s.centre, t / s.duree);
        // Band-pass of peak gain 1 (Robert Bristow-Johnson's cookbook).
        const double w = DEUX_PI * centre / FREQUENCE_ECHANTILLONS;
        const double alpha = std::sin(w) / (2 * s.qualite);
        const double a0 = 1 + alpha;
        const double x = alea.suivant();
        const double y = (alpha * x - alpha * x2 + 2 * std::cos(w) * y1 - (1 - alpha) * y2) / a0;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        const double enveloppe = montee(t, s.attaque) * std::exp(-std::max(0.0, t - s.attaque) / s.decroissance);
        piste.echantillons[i] += static_cast<float>(s.gain * enveloppe * y);
    }
}

void fondus(Piste& piste, double entree, double sortie)
{
    std::vector<float>& e = piste.echantillons;
    const size_t n = e.size();
    if (n == 0) return;
    const size_t nEntree = std::min(n, indice(entree)), nSortie = std::min(n, indice(sortie));
    for (size_t i = 0; i < nEntree; ++i) e[i] *= static_cast<float>(montee(static_cast<double>(i), nEntree));
    for (size_t i = 0; i < nSortie; ++i) e[n - 1 - i] *= static_cast<float>(montee(static_cast<double>(i), nSortie));
    e.front() = 0;
    e.back() = 0;
}

void normalise(Piste& piste, double decibels)
{
    float crete = 0;
    for (float v : piste.echantillons) crete = std::max(crete, std::fabs(v));
    if (crete <= 0) return;
    const float facteur = static_cast<float>(std::pow(10.0, decibels / 20) / crete);
    for (float& v : piste.echantillons) v *= facteur;
}

bool ecrisWav(const Piste& piste, const std::string& chemin)
{
    std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
    const uint32_t octets = static_cast<uint32_t>(piste.echantillons.size() * 2);
    f.write("RIFF", 4);
    ecrisMot(f, 36 + octets, 4);
    f.write("WAVEfmt ", 8);
    ecrisMot(f, 16, 4);                            // size of the format block
    ecrisMot(f, 1, 2);                             // PCM
    ecrisMot(f, 1, 2);                             // mono
    ecrisMot(f, FREQUENCE_ECHANTILLONS, 4);
    ecrisMot(f, FREQUENCE_ECHANTILLONS * 2, 4);    // bytes per second
    ecrisMot(f, 2, 2);                             // bytes per frame
    ecrisMot(f, 16, 2);                            // bits per sample
    f.write("data", 4);
    ecrisMot(f, octets, 4);
    for (float v : piste.echantillons) {
        const long n = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        ecrisMot(f, static_cast<uint32_t>(static_cast<int16_t>(n)) & 0xFFFF, 2);
    }
    f.close();
    return static_cast<bool>(f);
}

double hauteur(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}
