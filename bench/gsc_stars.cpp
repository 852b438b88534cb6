// Frame time of the Guide Star Catalog layer: a 2-degree equatorial chart on
// the Pleiades, 1024 x 768 off-screen pixmap on the X server named by
// DISPLAY, to magnitude 17. Each tree is drawn with the visible set reused
// (the view stands still) and rebuilt every frame (the view moves a pixel and
// back between frames). The trees: the committed test regions
// (tests/data/gsc, some 13 rows a region, as kstars-data's stars give them)
// and the same regions padded to about 2,000 rows each, the full catalogue's
// density (19 million entries in 9,537 regions), written to a temporary
// directory first. Each case reports min, median and max, and the
// regions opened per frame.
//
//     bench_gsc_stars [source directory]   (default: this source tree)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/x_frame_bench.h"
#include "command/interpreter.h"
#include "model/ui_hooks.h"
#include "render/layers/gsc_stars.h"

namespace {

namespace fs = std::filesystem;

std::string sourceDir = TAVIK_SOURCE_DIR;
std::string paddedRoot;

constexpr int kPaddedRows = 2000;

// A copy of the committed regions with rows added inside each region's
// right ascension and declination range (read from its own rows' extent
// widened to the band's 7.5 / 4 degrees) up to kPaddedRows rows.
std::string paddedTree() {
    if (!paddedRoot.empty()) return paddedRoot;
    char pattern[] = "/tmp/tavik-gsc-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return "";
    paddedRoot = pattern;
    const fs::path from = fs::path(sourceDir) / "tests/data/gsc";
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(from)) {
        const fs::path to = fs::path(paddedRoot) / fs::relative(e.path(), from);
        if (e.is_directory()) {
            fs::create_directories(to);
            continue;
        }
        std::ifstream in(e.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (e.path().extension() == ".GSC" && text.size() >= static_cast<size_t>(kGscHeaderBytes)) {
            std::string rows;
            double raLo = 360, raHi = 0, decLo = 90, decHi = -90;
            for (size_t at = kGscHeaderBytes; at + kGscRowSize <= text.size(); at += kGscRowSize) {
                if (text[at] == ' ') continue;
                rows += text.substr(at, kGscRowSize);
                const double ra = std::atof(text.substr(at + 5, 9).c_str()), dec = std::atof(text.substr(at + 14, 9).c_str());
                raLo = std::min(raLo, ra), raHi = std::max(raHi, ra), decLo = std::min(decLo, dec), decHi = std::max(decHi, dec);
            }
            if (rows.empty()) raLo = raHi = 0, decLo = decHi = 0;
            const double decMid = (decLo + decHi) / 2, raMid = (raLo + raHi) / 2;
            unsigned seed = 12345;
            auto next = [&] { return (seed = seed * 1103515245u + 12345u) / 4294967296.0; };
            for (int n = static_cast<int>(rows.size() / kGscRowSize); n < kPaddedRows; n++) {
                const double dec = std::clamp(decMid + (next() - 0.5) * 1.875, -89.99, 89.99);
                const double ra = std::fmod(raMid + (next() - 0.5) * 1.875 / std::cos(dec * M_PI / 180) + 360.0, 360.0);
                char row[64];
                std::snprintf(row, sizeof row, "%05d%9.5f%9.5f%5.1f%5.2f%4.2f%2d%1d%4s%1s", n + 1, ra, dec, 0.2,
                              10.0 + 5.0 * next(), 0.2, 0, 0, "PADD", "F");
                rows += std::string(row).substr(0, kGscRowSize);
            }
            rows.resize((rows.size() + 2879) / 2880 * 2880, ' ');
            text = text.substr(0, kGscHeaderBytes) + rows;
        }
        std::ofstream(to, std::ios::binary) << text;
    }
    return paddedRoot;
}

// The display bits are set in the chart record (settings, like SHOW and HIDE set them).
void frames(benchmark::State &state, bool padded, bool rebuild) {
    FrameBench *b = frameBenchSetUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    appData->commandFromSocket = 1; // a refused command formats its message, shows no box
    uiHooksRecordMessages();
    const std::string root = padded ? paddedTree() : sourceDir + "/tests/data/gsc";
    std::snprintf(appData->gscPath, sizeof appData->gscPath, "%s", root.c_str());
    std::snprintf(appData->gscRegionTableFile, sizeof appData->gscRegionTableFile, "%s/data/tavik.gsc",
                  sourceDir.c_str());
    gscFreeRegionTable();
    ChartState *c = b->chart;
    stkExecute(c, "INIT");
    c->statusBar = 0;
    c->mode = kModeEqt; // a setting, as MODE writes it
    c->milkyWayFlags = 0;
    c->constellationFlags = 0;
    stkExecute(c, "STARDATA GSC; MAG STAR 17; VIEW ANGLE 2; LOOK EQT 3.7833, 24.12");
    chartDrawFrame(c, b->canvas());
    XSync(b->display, False);
    // 1.5 pixels apart at 2 degrees over 1024 pixels.
    const char *const looks[2] = {"LOOK EQT 3.7833, 24.12", "LOOK EQT 3.7833, 24.1229"};
    int frame = 0;
    long opens = 0;
    for (auto _ : state) {
        // LOOK draws the frame itself (its own refresh).
        if (rebuild)
            stkExecute(c, looks[++frame % 2]);
        else
            chartDrawFrame(c, b->canvas());
        XSync(b->display, False);
        opens += c->frame.gsc.filesOpened;
    }
    state.counters["regionsOpened"] =
        benchmark::Counter(static_cast<double>(opens), benchmark::Counter::kAvgIterations);
    state.counters["visibleRegions"] = c->frame.gsc.count;
}

void fixtureReused(benchmark::State &state) { frames(state, false, false); }
void fixtureRebuilt(benchmark::State &state) { frames(state, false, true); }
void paddedReused(benchmark::State &state) { frames(state, true, false); }
void paddedRebuilt(benchmark::State &state) { frames(state, true, true); }

double minOf(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double maxOf(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

void configure(benchmark::internal::Benchmark *bm) {
    bm->Repetitions(9)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", minOf)
        ->ComputeStatistics("max", maxOf)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(fixtureReused)->Apply(configure);
BENCHMARK(fixtureRebuilt)->Apply(configure);
BENCHMARK(paddedReused)->Apply(configure);
BENCHMARK(paddedRebuilt)->Apply(configure);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) sourceDir = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!paddedRoot.empty()) fs::remove_all(paddedRoot);
    return 0;
}
