// ナンバーズ4マーヴォ: the program takes no options.
#include "ui/shell/ProgramStart.h"

int main(int argc, char** argv) {
    return n4::runProgram(argc, argv);
}
