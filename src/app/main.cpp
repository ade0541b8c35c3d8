#include "CommandLineApp.h"
#include "WindowModule.h"

int main(int argc, char** argv) {
    // Most options end here, on Qt Core alone; without any, Velmora is the window it always was.
    if (argc > 1) {
        if (const std::optional<int> status = velmora::app::RunCommandLine(argc, argv)) {
            return *status;
        }
    }
    return velmora::app::RunWindowModule(argc, argv);
}
