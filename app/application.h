#pragma once

namespace parlix {

// Runs the program: parlix [--home DIR] [--init]
//   --home DIR  the data folder (else $PARLIX_HOME, else ~/.local/share/parlix)
//   --init      create the data folder's initial files and exit, opening no window
int runApplication(int argc, char** argv);

} // namespace parlix
