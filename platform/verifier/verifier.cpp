// Violation record, object tracking and fault injection of the platform's verifier.
#include "platform/verifier/verifier.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>

namespace verifier {
namespace {

struct Record {
    Allocation allocation;
    bool reported;
};

struct FaultSim {
    bool enabled = false;
    int countdown = 0;
    int repeat = 0;
    int failures = 0;
};

constexpr int kFaultKinds = 4;

// One lock for all of it: the verifier sits off every hot path that matters in tests.
std::mutex lock;
int violations = 0;
std::string first;
std::map<std::pair<Kind, const void*>, Record> live;
std::set<std::pair<Kind, const void*>> freed;  // recently freed, to tell a double free from a foreign pointer
uint64_t sequence = 0;
FaultSim faults[kFaultKinds];
unsigned lowPercent = 0;
std::mt19937 random;

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Pool: return "pool block";
        case Kind::Irp: return "IRP";
        case Kind::Mdl: return "MDL";
        case Kind::Mapping: return "MDL mapping";
    }
    return "object";
}

std::string Format(const char* format, va_list args) {
    char buffer[512];
    vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

void RecordViolation(const std::string& text) {
    ++violations;
    if (violations == 1) first = text;
    if (violations <= 20) fprintf(stderr, "verifier: %s\n", text.c_str());
}

}  // namespace

void Violation(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    std::lock_guard guard(lock);
    RecordViolation(text);
}

int ViolationCount() {
    std::lock_guard guard(lock);
    return violations;
}

std::string FirstViolation() {
    std::lock_guard guard(lock);
    return first;
}

void ClearViolations() {
    std::lock_guard guard(lock);
    violations = 0;
    first.clear();
}

void Track(Kind kind, const void* address, size_t size, uint32_t tag, const void* site, const void* owner) {
    std::lock_guard guard(lock);
    freed.erase({kind, address});
    live[{kind, address}] = Record{{kind, address, size, tag, site, owner, sequence++}, false};
}

bool Untrack(Kind kind, const void* address, const char* routine) {
    std::lock_guard guard(lock);
    if (live.erase({kind, address}) == 1) {
        freed.insert({kind, address});
        return true;
    }
    char text[160];
    if (freed.count({kind, address}))
        snprintf(text, sizeof text, "%s: %s %p freed twice", routine, KindName(kind), address);
    else
        snprintf(text, sizeof text, "%s: %p is not a %s the platform handed out", routine, address, KindName(kind));
    RecordViolation(text);
    return false;
}

bool IsTracked(Kind kind, const void* address) {
    std::lock_guard guard(lock);
    return live.count({kind, address}) == 1;
}

std::vector<Allocation> Outstanding(Kind kind) {
    std::lock_guard guard(lock);
    std::vector<Allocation> result;
    for (const auto& [key, record] : live)
        if (key.first == kind) result.push_back(record.allocation);
    return result;
}

size_t OutstandingCount(Kind kind) { return Outstanding(kind).size(); }

std::string Describe(const Allocation& a) {
    char text[200];
    if (a.kind == Kind::Pool) {
        char tag[5] = {};
        for (int i = 0; i < 4; ++i) {
            char c = static_cast<char>(a.tag >> (8 * i));
            tag[i] = (c >= 32 && c < 127) ? c : '.';
        }
        snprintf(text, sizeof text, "pool block %p of %zu bytes, tag '%s', allocated at %p", a.address, a.size, tag,
                 a.site);
    } else {
        snprintf(text, sizeof text, "%s %p of %zu bytes, allocated at %p", KindName(a.kind), a.address, a.size,
                 a.site);
    }
    return text;
}

uint64_t Sequence() {
    std::lock_guard guard(lock);
    return sequence;
}

void CheckOwnerIdle(const void* owner, uint64_t sinceSequence, const char* when) {
    std::lock_guard guard(lock);
    for (auto& [key, record] : live) {
        const Allocation& a = record.allocation;
        if (a.owner != owner || a.sequence < sinceSequence || record.reported || a.kind == Kind::Mapping) continue;
        record.reported = true;
        RecordViolation(std::string("leak at ") + when + ": " + Describe(a));
    }
}

void ArmFault(Fault kind, int countdown, int repeat) {
    std::lock_guard guard(lock);
    faults[static_cast<int>(kind)] = FaultSim{true, countdown, repeat, 0};
}

void SetLowResources(uint32_t seed, unsigned percent) {
    std::lock_guard guard(lock);
    lowPercent = percent;
    random.seed(seed);
}

void DisarmFaults() {
    std::lock_guard guard(lock);
    for (FaultSim& f : faults) f.enabled = false;
    lowPercent = 0;
}

int FaultsSeen(Fault kind) {
    std::lock_guard guard(lock);
    return faults[static_cast<int>(kind)].failures;
}

bool ShouldFail(Fault kind) {
    bool fail = false;
    {
        std::lock_guard guard(lock);
        FaultSim& f = faults[static_cast<int>(kind)];
        if (f.enabled) {
            if (f.countdown > 0) {
                --f.countdown;
            } else {
                fail = true;
                if (--f.repeat <= 0) f.enabled = false;
            }
        }
        if (!fail && lowPercent > 0) fail = random() % 100 < lowPercent;
        if (fail) ++f.failures;
    }
    if (fail) FaultFired(kind);
    return fail;
}

__attribute__((noinline)) void FaultFired(Fault kind) {
    // Kept out of line and observable so a breakpoint here always hits.
    asm volatile("" : : "r"(static_cast<int>(kind)) : "memory");
}

void Reset() {
    std::lock_guard guard(lock);
    for (auto& [key, record] : live)
        if (key.first == Kind::Pool || key.first == Kind::Mdl) free(const_cast<void*>(key.second));
    live.clear();
    freed.clear();
    violations = 0;
    first.clear();
    sequence = 0;
    for (FaultSim& f : faults) f = FaultSim{};
    lowPercent = 0;
}

}  // namespace verifier
