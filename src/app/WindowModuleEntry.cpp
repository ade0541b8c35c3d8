// The window module's entry: everything else in the module stays hidden, so that its copy of
// the code it shares with the executable never meets the executable's.
#include "WindowModuleEntry.h"

#include "Windowed.h"

extern "C" __attribute__((visibility("default"))) int velmora_run_windowed(int* argc, char** argv) {
    return velmora::app::RunWindowed(*argc, argv);
}
