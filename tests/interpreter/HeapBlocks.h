// Counts the heap blocks this test program holds, so a test can show that a
// run, failed or not, leaves nothing allocated once its result is gone.
#pragma once

long LiveHeapBlocks();

// Runs fn twice and returns the blocks the second run left behind (the
// first run settles anything built once per process).
template <typename Fn>
long BlocksLeftBy(Fn fn) {
    fn();
    const long before = LiveHeapBlocks();
    fn();
    return LiveHeapBlocks() - before;
}
