// vorlund: the Vorlund demo as a user starts it. The demo (app/) is the application class the
// program links; everything around it is the entry's (programs/vorlund/vorlund_main.h).
#include "programs/vorlund/vorlund_main.h"

int main(int argc, char** argv) {
    return VorlundMain(argc, argv);
}
