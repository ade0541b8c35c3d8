// A renderer with no settings dialog of its own: the front end finds it by ZN_GPUinit and,
// lacking GPUconfigure, lets the user edit the renderer options as text instead.

#include "PluginSupport.h"

VELMORA_PLUGIN_ENTRY long ZN_GPUinit() {
    velmora::sample::LogEntryCall("ZN_GPUinit");
    return 0;
}
