#include <dlfcn.h>

#include <string>

#include "CommandModes.h"
#include "Console.h"
#include "Platform.h"
#include "WindowModule.h"
#include "WindowModuleEntry.h"

namespace velmora::app {

int RunWindowModule(int& argc, char** argv) {
    // Beside the executable, wherever that was copied: the module belongs to it.
    const std::string path =
        platform::EmulatorDirectoryFor(platform::ExecutablePath()) + "/" + VELMORA_WINDOW_MODULE;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto run =
        module != nullptr
            ? reinterpret_cast<VelmoraRunWindowed>(::dlsym(module, kVelmoraRunWindowed))
            : nullptr;
    if (run == nullptr) {
        const char* reason = ::dlerror();
        PrepareConsole();
        ReportError("Velmora cannot open its window: " +
                    std::string(reason != nullptr ? reason : path));
        return kExitFailed;
    }
    return run(&argc, argv);  // the module stays loaded until the program ends
}

}  // namespace velmora::app
