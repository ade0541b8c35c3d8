// A renderer with its own configuration entry. It counts the calls, so a test can tell that
// an entry really ran, and that unloading really dropped the library (the count starts over).
#include "Export.h"

namespace {
long gConfigureCalls = 0;
}

VELMORA_PLUGIN_ENTRY long ZN_GPUinit() {
    return 0;
}

VELMORA_PLUGIN_ENTRY long GPUconfigure() {
    return ++gConfigureCalls;
}

VELMORA_PLUGIN_ENTRY long VelmoraTestConfigureCalls() {
    return gConfigureCalls;
}
