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
// nth counts the changes from now on, 1 for the next one.
void InjectFault(int nth, int vbError, FaultRepeat repeat);
void ClearFaults();
// Changes made since the last InjectFault or ClearFaults.
int MutationsSinceReset();

}  // namespace platform
