#pragma once
// Every call of the file services that changes the disk passes here first: it moves the
// generation on (so a listing taken before it is not reused after it) and it is where tests
// inject faults ("fail the 3rd change with error 70, once").
#include <cstdint>

namespace platform {

enum class FaultRepeat { Once, FromThenOn };

uint64_t MutationGeneration();
// Throws the injected VbError when this call is the one chosen.
void BeforeMutation();
// Moves the generation on once more when the change is done, so what was read while it was being
// made (the look-ups of the change itself) is not taken for what is there after it.
void AfterMutation();

// BeforeMutation on entry, AfterMutation on the way out, however the change ends.
class MutationScope {
public:
    MutationScope() { BeforeMutation(); }
    ~MutationScope() { AfterMutation(); }
    MutationScope(const MutationScope&) = delete;
    MutationScope& operator=(const MutationScope&) = delete;
};

// nth counts the changes from now on, 1 for the next one.
void InjectFault(int nth, int vbError, FaultRepeat repeat);
void ClearFaults();
// Changes made since the last InjectFault or ClearFaults.
int MutationsSinceReset();

}  // namespace platform
