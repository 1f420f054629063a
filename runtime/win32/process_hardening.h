#pragma once

namespace tolvane::runtime {

// Keeps the passwords in this process's memory from leaving it through crash handling: no
// error dialog that offers to send a report, and crash reports that leave the heap out.
bool HardenProcess();

}  // namespace tolvane::runtime
