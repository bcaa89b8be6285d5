// Records the largest single heap request made while a probe is alive, so
// tests can show that a hostile count was refused before any allocation.
#pragma once
#include <cstddef>

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    size_t Largest() const;
};
