// ナンバーズ4マーヴォ: the program takes no options.
#include "core/import/JetReader.h"
#include "ui/shell/ProgramStart.h"

int main(int argc, char** argv) {
    n4::becomeJetReaderIfAsked(argc, argv); // started to read a Jet file
    return n4::runProgram(argc, argv);
}
