#pragma once

namespace tolvane::system {

// Keeps the passwords in this process's memory from leaving it. Linux: no core file is ever
// written (core size limit 0) and the process is not dumpable, so other processes of the
// same user can neither attach with ptrace nor read its memory through /proc. Windows: no
// error dialog that offers to send a report, and crash reports that leave the heap out.
// Returns false if a step failed; the program runs on regardless.
bool HardenProcess();

}  // namespace tolvane::system
