#pragma once
// In-place sorting of an array that only the derived class knows, through three callbacks: compare two
// elements, get an element, swap two elements. The derived class may sort an index array, several parallel
// arrays at once, or anything else that it can swap by position.
//
// The sort is not stable. It is a quicksort with a median-of-three pivot, insertion sort for short runs and
// an explicit stack of O(log n) runs; a run that splits badly too often is finished by heapsort, so that no
// input (sorted, reversed, all equal or built to defeat the pivot choice) costs more than O(n log n).

class coQuickSort {
public:
    virtual ~coQuickSort() = default;

    // Sorts elements 0 .. n - 1 ascending by obj_compare.
    void sort(int n);

    // Negative, zero or positive as *a is less than, equal to or greater than *b; a strict weak order.
    virtual int obj_compare(const void* a, const void* b) const = 0;
    // Element i. The pointer must keep designating element i's value until element i is swapped; the
    // pivot is held that way through a whole partition.
    virtual const void* arr_get(int i) const = 0;
    virtual void arr_swap(int i, int j) = 0;

protected:
    coQuickSort() = default;
    coQuickSort(const coQuickSort&) = default;
    coQuickSort& operator=(const coQuickSort&) = default;

private:
    int compare_at(int i, int j) const { return obj_compare(arr_get(i), arr_get(j)); }
    int median_of_three(int a, int b, int c) const;
    int partition(int lo, int hi);
    void insertion_sort(int lo, int hi);
    void heap_sort(int lo, int hi);
    void sift_down(int base, int root, int n);
};
