// Start-up of the real executable: from the moment it is spawned until its
// first SDL_Flip has put the start screen into its window, on the X display
// of DISPLAY (bench.sh starts an Xvfb). The flip is timed by the preloaded
// premiere_image library; the game is then asked to close (SIGTERM, which SDL
// turns into a close request). With the sound off, and on with SDL's dummy
// and disk audio drivers: what opening the audio adds to the first frame.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

int64_t maintenant()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

// A home of the benchmark's own, whose options file turns the sound off or
// leaves it on, and the audio driver the game is to use.
void preparePilote(const char* pilote)
{
    static char maison[] = "/tmp/velmora-bench-maisonXXXXXX";
    static const bool faite = mkdtemp(maison) != nullptr;
    const std::filesystem::path options = std::filesystem::path(maison) / ".config/velmora";
    std::error_code erreur;
    std::filesystem::create_directories(options, erreur);
    std::ofstream(options / "options") << "son=" << (pilote != nullptr ? 1 : 0) << "\n";
    setenv("HOME", faite ? maison : "/nonexistent", 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    setenv("SDL_AUDIODRIVER", pilote != nullptr ? pilote : "dummy", 1);
    setenv("SDL_DISKAUDIOFILE", (std::string(maison) + "/sortie.raw").c_str(), 1);
}

[[noreturn]] void lanceJeu(int tube)
{
    if (chdir(VELMORA_DONNEES) != 0) {
        _exit(126);
    }
    setenv("LD_PRELOAD", VELMORA_PREMIERE_IMAGE, 1);
    setenv("VELMORA_PREMIERE_IMAGE", std::to_string(tube).c_str(), 1);
    execl(VELMORA_EXECUTABLE, "velmora", static_cast<char*>(nullptr));
    _exit(127);
}

// Waits up to 20 s for the time of the first frame; 0 if none came.
int64_t premiereImage(int tube)
{
    pollfd attente{tube, POLLIN, 0};
    int64_t ns = 0;
    if (poll(&attente, 1, 20000) == 1 && read(tube, &ns, sizeof ns) == sizeof ns) {
        return ns;
    }
    return 0;
}

bool fenetreVisible()
{
    return std::system("xdotool search --onlyvisible --name '^Velmora$' >/dev/null 2>&1") == 0;
}

void demarrage(benchmark::State& state, const char* pilote)
{
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    preparePilote(pilote);
    bool fenetreVue = false;
    for (auto _ : state) {
        int tube[2];
        if (pipe2(tube, O_CLOEXEC) != 0) {
            state.SkipWithError("pipe");
            break;
        }
        const int64_t debut = maintenant();
        const pid_t pid = fork();
        if (pid == 0) {
            close(tube[0]);
            fcntl(tube[1], F_SETFD, 0);  // the game keeps the writing end
            lanceJeu(tube[1]);
        }
        close(tube[1]);
        const int64_t fin = premiereImage(tube[0]);
        close(tube[0]);
        if (fin != 0) {
            state.SetIterationTime(static_cast<double>(fin - debut) * 1e-9);
            fenetreVue = fenetreVue || fenetreVisible();
        }
        kill(pid, fin != 0 ? SIGTERM : SIGKILL);
        int statut = 0;
        waitpid(pid, &statut, 0);
        if (fin == 0) {
            state.SkipWithError("the game showed no frame within 20 s");
            break;
        }
    }
    if (!fenetreVue && !state.error_occurred()) {
        state.SkipWithError("no visible window named Velmora");
    }
}
void parametres(benchmark::internal::Benchmark* b)
{
    b->UseManualTime()->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(demarrage, sansSon, nullptr)->Name("demarrage/premiere_image")->Apply(parametres);
BENCHMARK_CAPTURE(demarrage, dummy, "dummy")->Name("demarrage/premiere_image_son_dummy")->Apply(parametres);
BENCHMARK_CAPTURE(demarrage, disk, "disk")->Name("demarrage/premiere_image_son_disk")->Apply(parametres);

}  // namespace

BENCHMARK_MAIN();
