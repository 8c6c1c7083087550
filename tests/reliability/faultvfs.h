#pragma once
// A SQLite VFS for tests that counts the steps that change files on disk and can fail or kill
// the process at the Nth. Steps: a write, a truncate or a sync of any file SQLite opens, a
// delete (the commit of a rollback journal), and a rename(2) by the program itself (the swap
// of a compacted copy). Installed as the default VFS, it sees every connection opened after.
#include <cstdint>

namespace vyr::reliability {

enum class StepAction {
    None,
    Fail,         // the Nth step fails with an I/O error and changes nothing
    KillBefore,   // SIGKILL just before the Nth step
    KillAfter,    // SIGKILL just after the Nth step
};

// Registers the shim as the default VFS (once; later calls do nothing).
void installFaultVfs();

// Counts steps from zero again and acts at step `n` (1-based).
void armFault(StepAction action, int64_t n);
void disarmFault();

// Steps counted since the last arm.
int64_t faultSteps();
// Whether the armed failure happened.
bool faultFired();

} // namespace vyr::reliability
