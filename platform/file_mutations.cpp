#include "platform/file_mutations.h"

#include "platform/vb_error.h"

namespace platform {

namespace {
uint64_t g_generation = 0;
int g_count = 0;
int g_failAt = 0;
int g_error = 0;
FaultRepeat g_repeat = FaultRepeat::Once;
}  // namespace

uint64_t MutationGeneration() { return g_generation; }

void BeforeMutation() {
    ++g_generation;
    ++g_count;
    if (g_failAt == 0 || g_count < g_failAt) return;
    if (g_repeat == FaultRepeat::Once && g_count > g_failAt) return;
    throw VbError(g_error, QStringLiteral("injected fault"));
}

void AfterMutation() { ++g_generation; }

void InjectFault(int nth, int vbError, FaultRepeat repeat) {
    g_count = 0;
    g_failAt = nth;
    g_error = vbError;
    g_repeat = repeat;
}

void ClearFaults() {
    g_count = 0;
    g_failAt = 0;
}

int MutationsSinceReset() { return g_count; }

}  // namespace platform
