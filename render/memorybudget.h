#pragma once

#include <cstdint>
#include <string_view>

// How much memory one large picture may take. A canvas is painted whole
// before anything is done with it, and an image export may need about as
// much again to encode it, so a picture gets a quarter of what the process
// may use: the least of the machine's memory, the memory limit of the
// process's control group and the room that its address-space and data
// limits still leave. Asking for more than the system grants would get the
// process killed with no word in a container (which counts against the
// control group, not the machine), or fail in the middle of an encoding
// under a resource limit.

constexpr std::uint64_t kNoMemoryLimit = UINT64_MAX;

// Each bound in bytes, kNoMemoryLimit where none is set or none can be
// learnt.
struct MemoryLimits {
    std::uint64_t physical = kNoMemoryLimit;     // the machine's memory
    std::uint64_t controlGroup = kNoMemoryLimit; // the process's control group and those above it
    std::uint64_t addressSpace = kNoMemoryLimit; // RLIMIT_AS less the address space already in use
    std::uint64_t data = kNoMemoryLimit;         // RLIMIT_DATA less the data already in use
};

// A quarter of the least limit; 1 GiB when no limit is known at all. In a
// process with 32-bit pointers never more than 512 MiB.
std::uint64_t BudgetForLimits(const MemoryLimits& limits, bool smallAddressSpace);

// The memory limit of a control group, from the text of /proc/self/cgroup
// (which group the process is in) and of /proc/self/mountinfo (where the
// group trees are mounted), reading memory.max (version 2) and
// memory.limit_in_bytes (version 1) of the group and of every group above
// it. The least of them, or kNoMemoryLimit.
std::uint64_t ControlGroupMemoryLimit(std::string_view selfCgroup, std::string_view mountInfo);

// The limits of the running process.
MemoryLimits CurrentMemoryLimits();

// BudgetForLimits(CurrentMemoryLimits()), learnt once per process.
std::uint64_t MemoryByteBudget();
