#include "Program.h"

int main(int argc, char** argv) {
    return velmora::app::RunVelmora(argc, argv);
}
