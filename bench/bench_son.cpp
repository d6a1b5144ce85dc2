// Sound: the cost of opening the mixer and loading the sounds, with SDL's
// dummy and disk audio drivers, and the latency from the call that plays a
// sound to its first sample in the disk driver's file (which the driver
// writes one 512-frame buffer at a time, paced in real time, as a sound card
// would take them).
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "son.h"

namespace {

double maintenant()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

const std::string fichierDisque = "/tmp/velmora-bench-son-" + std::to_string(getpid()) + ".raw";

void choisitPilote(const char* pilote)
{
    setenv("SDL_AUDIODRIVER", pilote, 1);
    setenv("SDL_DISKAUDIOFILE", fichierDisque.c_str(), 1);
}

void ouverture(benchmark::State& state, const char* pilote)
{
    choisitPilote(pilote);
    for (auto _ : state) {
        Son son;
        if (!ouvreSon(&son)) {
            state.SkipWithError("the mixer did not open");
            break;
        }
        state.PauseTiming();
        fermeSon(&son);
        state.ResumeTiming();
    }
    std::remove(fichierDisque.c_str());
}
BENCHMARK_CAPTURE(ouverture, dummy, "dummy")->Name("son/ouverture/dummy")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ouverture, disk, "disk")->Name("son/ouverture/disk")->Unit(benchmark::kMillisecond);

// From joueSon to the moment the file holds a frame of the sound.
void latence(benchmark::State& state)
{
    choisitPilote("disk");
    Son son;
    if (!ouvreSon(&son)) {
        state.SkipWithError("the mixer did not open");
        return;
    }
    FILE* fichier = std::fopen(fichierDisque.c_str(), "rb");
    for (auto _ : state) {
        while (Mix_Playing(-1) > 0) SDL_Delay(1);
        SDL_Delay(30);  // a few silent buffers, all written
        std::fseek(fichier, 0, SEEK_END);
        long lu = std::ftell(fichier);
        const double debut = maintenant();
        joueSon(&son, {SON_CLIC});
        bool entendu = false;
        while (!entendu && maintenant() - debut < 1.0) {
            std::clearerr(fichier);
            std::fseek(fichier, lu, SEEK_SET);
            int16_t echantillon = 0;
            while (!entendu && std::fread(&echantillon, sizeof echantillon, 1, fichier) == 1) {
                entendu = echantillon != 0;
                lu += sizeof echantillon;
            }
            if (!entendu) usleep(100);
        }
        if (!entendu) {
            state.SkipWithError("no sound reached the file within a second");
            break;
        }
        state.SetIterationTime(maintenant() - debut);
    }
    std::fclose(fichier);
    fermeSon(&son);
    std::remove(fichierDisque.c_str());
}
BENCHMARK(latence)->Name("son/latence/disk")->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (chdir(VELMORA_DONNEES) != 0) {
        std::perror(VELMORA_DONNEES);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
