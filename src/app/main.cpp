#include "window/startup.h"

int main(int argc, char** argv) {
    return velnora::window::RunWindowProgram(argc, argv);
}
