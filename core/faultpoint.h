#pragma once

namespace parlix::faultpoint {

// Marks a step of an operation that must survive a crash. When the process was
// started with PARLIX_FAULT_POINT set to this name (crash-safety tests do so
// in a child process) it dies here at once, as on a power cut; otherwise
// nothing happens. With PARLIX_FAULT_HITS set to N it dies the N-th time the
// step is reached (a step repeated for each row or recipient), else the first.
void reach(const char* name);

} // namespace parlix::faultpoint
