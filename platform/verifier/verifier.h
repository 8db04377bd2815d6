// The platform's verifier: rule violations, tracking of pool, IRPs, MDLs and mappings, and fault injection.
// Always on; test fixtures assert at tear-down that nothing was violated or left behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace verifier {

// ---- violations ----
void Violation(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ViolationCount();
std::string FirstViolation();  // empty when there is none
void ClearViolations();

// ---- tracked objects ----
enum class Kind { Pool, Irp, Mdl, Mapping };

struct Allocation {
    Kind kind;
    const void* address;
    size_t size;
    uint32_t tag;        // pool tag, 0 for other kinds
    const void* site;    // return address of the caller that allocated it
    const void* owner;   // driver object that was running, nullptr for the platform
    uint64_t sequence;   // order of allocation, see Sequence()
};

// Called by the platform; Untrack reports a double free or a foreign pointer and returns false for those.
void Track(Kind kind, const void* address, size_t size, uint32_t tag, const void* site, const void* owner);
bool Untrack(Kind kind, const void* address, const char* routine);
bool IsTracked(Kind kind, const void* address);

std::vector<Allocation> Outstanding(Kind kind);
size_t OutstandingCount(Kind kind);
std::string Describe(const Allocation& allocation);
uint64_t Sequence();  // the sequence number the next allocation gets

// Reports every pool block, IRP and MDL of owner allocated at or after sinceSequence and not yet freed
// (each only once); when says why (unload, device removal).
void CheckOwnerIdle(const void* owner, uint64_t sinceSequence, const char* when);

// ---- fault injection, after SQLite's fault simulator ----
enum class Fault { Pool, Irp, Mdl, Request };

// After countdown successful allocations of kind, the next repeat allocations fail.
void ArmFault(Fault kind, int countdown, int repeat = 1);
// Every allocation of any kind fails with the given chance, reproducibly for a seed; percent 0 turns it off.
void SetLowResources(uint32_t seed, unsigned percent);
void DisarmFaults();
int FaultsSeen(Fault kind);
// Platform side: whether this allocation is to fail.
bool ShouldFail(Fault kind);
// Called whenever an injected fault fires: a place for a breakpoint.
void FaultFired(Fault kind);

// Forgets violations, faults and every tracked object; frees the pool blocks still tracked.
void Reset();

}  // namespace verifier
