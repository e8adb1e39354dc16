#include "ui/command_main.h"

int main(int argc, char** argv) { return kavrin::CommandMain(argc, argv); }
