// ナンバーズ4マーヴォ: the program takes no options.
#include "shell/ProgramStart.h"

int main(int argc, char** argv) {
    return n4::runProgram(argc, argv);
}
