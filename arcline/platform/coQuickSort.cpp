#include "arcline/platform/coQuickSort.h"

#include <array>
#include <bit>

namespace {

// Runs of at most this many elements are finished by insertion sort, which beats partitioning there.
constexpr int insertion_run = 16;

struct Run {
    int lo;
    int hi;
    int depth_left; // partitions still allowed before heapsort takes over
};

} // namespace

void coQuickSort::sort(int n) {
    if (n < 2) return;
    // The smaller side is sorted first and the larger one waits, so at most log2(n) runs wait at once.
    std::array<Run, 64> waiting{};
    int num_waiting = 0;
    // Twice the depth of a balanced split; deeper means the pivots are being defeated.
    Run run{0, n - 1, 2 * static_cast<int>(std::bit_width(static_cast<unsigned>(n)))};
    for (;;) {
        if (run.hi - run.lo < insertion_run) {
            insertion_sort(run.lo, run.hi);
        } else if (run.depth_left == 0) {
            heap_sort(run.lo, run.hi);
        } else {
            const int p = partition(run.lo, run.hi);
            const int depth = run.depth_left - 1;
            if (p - run.lo < run.hi - p) {
                waiting[num_waiting++] = {p + 1, run.hi, depth};
                run = {run.lo, p - 1, depth};
            } else {
                waiting[num_waiting++] = {run.lo, p - 1, depth};
                run = {p + 1, run.hi, depth};
            }
            continue;
        }
        if (num_waiting == 0) return;
        run = waiting[--num_waiting];
    }
}

int coQuickSort::median_of_three(int a, int b, int c) const {
    if (compare_at(a, b) < 0) {
        if (compare_at(b, c) < 0) return b;
        return compare_at(a, c) < 0 ? c : a;
    }
    if (compare_at(a, c) < 0) return a;
    return compare_at(b, c) < 0 ? c : b;
}

// Hoare partition around the median of three, held at lo. Both scans stop on elements equal to the pivot,
// so a run of equal elements splits in the middle instead of peeling off one element at a time. Returns the
// pivot's final place p: [lo, p) is not greater and (p, hi] not less than it.
int coQuickSort::partition(int lo, int hi) {
    const int m = median_of_three(lo, lo + (hi - lo) / 2, hi);
    if (m != lo) arr_swap(lo, m);
    const void* pivot = arr_get(lo);
    int i = lo;
    int j = hi + 1;
    for (;;) {
        while (++i <= hi && obj_compare(arr_get(i), pivot) < 0) {
        }
        // Stops at lo at the latest, where the pivot itself is.
        while (obj_compare(pivot, arr_get(--j)) < 0) {
        }
        if (i >= j) break;
        arr_swap(i, j);
    }
    if (j != lo) arr_swap(lo, j);
    return j;
}

void coQuickSort::insertion_sort(int lo, int hi) {
    for (int i = lo + 1; i <= hi; ++i) {
        for (int j = i; j > lo && compare_at(j - 1, j) > 0; --j)
            arr_swap(j - 1, j);
    }
}

void coQuickSort::heap_sort(int lo, int hi) {
    const int n = hi - lo + 1;
    for (int root = n / 2 - 1; root >= 0; --root)
        sift_down(lo, root, n);
    for (int last = n - 1; last > 0; --last) {
        arr_swap(lo, lo + last);
        sift_down(lo, 0, last);
    }
}

// Max-heap of the n elements from base on.
void coQuickSort::sift_down(int base, int root, int n) {
    for (;;) {
        int child = 2 * root + 1;
        if (child >= n) return;
        if (child + 1 < n && compare_at(base + child, base + child + 1) < 0) ++child;
        if (compare_at(base + root, base + child) >= 0) return;
        arr_swap(base + root, base + child);
        root = child;
    }
}
