#pragma once

namespace tolvane::runtime {

// Keeps the passwords in this process's memory from leaving it: no core file is ever
// written (core size limit 0), and the process is not dumpable, so other processes of the
// same user can neither attach with ptrace nor read its memory through /proc.
// Returns false if either step failed; the program runs on regardless.
bool HardenProcess();

}  // namespace tolvane::runtime
