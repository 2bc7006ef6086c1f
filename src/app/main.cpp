#include "shell/startup.h"

int main(int argc, char** argv) { return velnora::shell::RunWindowProgram(argc, argv); }
