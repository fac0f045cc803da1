// The vorlund program's entry, as a function: main() calls it, and tests run it with an
// application of their own in place of the demo.
#pragma once

// Returns the exit code: the demo's, 2 for a bad command line, 1 when something asked for
// could not be written.
int VorlundMain(int argc, char** argv);
