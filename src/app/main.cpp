#include "CMainFrame.h"
#include "CVelmoraApp.h"
#include "CommandLineApp.h"

int main(int argc, char** argv) {
    // With options Velmora runs one mode and ends; without any it is the window it always was.
    if (argc > 1) {
        if (const std::optional<int> status = velmora::app::RunCommandLine(argc, argv)) {
            return *status;
        }
    }
    velmora::app::CVelmoraApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return velmora::app::CVelmoraApp::exec();
}
