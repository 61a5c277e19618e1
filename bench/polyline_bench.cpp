// Building and reading back long poly-arc-lines: appends of a million positions (every third span an arc)
// to the single and double precision classes, iteration over them, and the memory each position costs.

#include "arcline/polyline/velPolyArcLine.h"
#include "arcline/polyline/velPolyArcLineDouble.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

// Bytes live on the heap, counted by the replaced global allocation functions below.
std::atomic<long long> g_live_bytes{0};

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + sizeof(std::max_align_t));
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    g_live_bytes += static_cast<long long>(size);
    return static_cast<char*>(p) + sizeof(std::max_align_t);
}
void operator delete(void* p) noexcept {
    if (!p) return;
    void* base = static_cast<char*>(p) - sizeof(std::max_align_t);
    g_live_bytes -= static_cast<long long>(*static_cast<std::size_t*>(base));
    std::free(base);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

constexpr int million = 1'000'000;

// A zig-zag toolpath: every third span an arc bulging off the chord.
template <class Line>
void fill(Line& line, int n) {
    line.add_pos(giPoint3(0.0, 0.0, 0.0));
    for (int i = 1; i < n; ++i) {
        const double x = i * 0.5, y = (i & 1) ? 1.0 : 0.0;
        if (i % 3 == 0) {
            line.add_arc(giPoint3(x - 0.25 + 0.1, 0.5 + 0.1, 0.0), giPoint3(x, y, 0.0));
        } else {
            line.add_pos(giPoint3(x, y, 0.0));
        }
    }
}

template <class Line>
void BM_Append(benchmark::State& state) {
    double bytes_per_pos = 0.0;
    for (auto _ : state) {
        const long long before = g_live_bytes.load();
        Line line;
        fill(line, million);
        bytes_per_pos = static_cast<double>(g_live_bytes.load() - before) / million;
        benchmark::DoNotOptimize(line.num_pos());
    }
    state.SetItemsProcessed(state.iterations() * million);
    state.counters["bytes_per_pos"] = bytes_per_pos;
}
BENCHMARK(BM_Append<velPolyArcLine>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Append<velPolyArcLineDouble>)->Unit(benchmark::kMillisecond);

template <class Line>
void BM_Iterate(benchmark::State& state) {
    Line line;
    fill(line, million);
    for (auto _ : state) {
        double sum = 0.0;
        giPoint3 p, m;
        for (int i = 1; i <= line.num_pos(); ++i) {
            line.get_pos(i, p);
            sum += p.x;
            if (i < line.num_pos() && !line.span_linear(i)) {
                line.get_mid_pos(i, m);
                sum += m.y;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * million);
}
BENCHMARK(BM_Iterate<velPolyArcLine>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iterate<velPolyArcLineDouble>)->Unit(benchmark::kMillisecond);

template <class Line>
void BM_Length(benchmark::State& state) {
    Line line;
    fill(line, million);
    for (auto _ : state) {
        line.edit_pos(1, giPoint3(0.0, 0.0, 0.0)); // empties the cache
        benchmark::DoNotOptimize(line.length());
    }
    state.SetItemsProcessed(state.iterations() * million);
}
BENCHMARK(BM_Length<velPolyArcLine>)->Unit(benchmark::kMillisecond);

} // namespace
