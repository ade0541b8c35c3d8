// A renderer without a configuration entry: it reads its options from a file.
#include "Export.h"

VELMORA_PLUGIN_ENTRY long ZN_GPUinit() {
    return 0;
}
