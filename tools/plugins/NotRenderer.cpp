// A library that loads fine but is no renderer: it exports a sound entry only, so a renderer
// search must pass it over.

#include "PluginSupport.h"

VELMORA_PLUGIN_ENTRY long ZN_SPUinit() {
    velmora::sample::LogEntryCall("ZN_SPUinit");
    return 0;
}
