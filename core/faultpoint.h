#pragma once

namespace parlix::faultpoint {

// Marks a step of an operation that must survive a crash. When the process was
// started with PARLIX_FAULT_POINT set to this name (crash-safety tests do so
// in a child process) it dies here at once, as on a power cut; otherwise
// nothing happens.
void reach(const char* name);

} // namespace parlix::faultpoint
