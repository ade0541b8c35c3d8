#include "WindowModule.h"
#include "Windowed.h"

namespace velmora::app {

int RunWindowModule(int& argc, char** argv) {
    return RunWindowed(argc, argv);
}

}  // namespace velmora::app
