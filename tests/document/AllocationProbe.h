// Records the largest single heap request made while a probe is alive, and
// how many there were, so tests can show that a hostile count was refused
// before any allocation and that a running program allocates nothing per
// statement.
#pragma once
#include <cstddef>

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    size_t Largest() const;
    size_t Count() const;
};
