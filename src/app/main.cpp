#include "CMainFrame.h"
#include "CVelmoraApp.h"

int main(int argc, char** argv) {
    velmora::app::CVelmoraApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return velmora::app::CVelmoraApp::exec();
}
