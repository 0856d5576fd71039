#pragma once
// The program's start-up, shared by main() and the window tests so that both
// run the same steps: Japanese button texts and font, the main window's load,
// the maximised main window and the prediction window shown first.
#include <memory>

#include "core/store/DataLocation.h"
#include "ui/shell/MainFrm.h"
#include "ui/shell/StartupLoad.h"

class QApplication;

namespace n4 {

class MessageSink;

// Japanese standard-button texts and the Japanese fonts for the whole program.
void prepareApplication(QApplication& app);

// The program's files where the data location puts them (see DataLocation.h).
ShellConfig shellConfigFor(const DataLocation& location);

// Loads the draw table (or takes it from the early load, started before the
// toolkit) and shows the main window with the prediction window open; nullptr
// (after telling the user why) when the draw database cannot be used.
std::unique_ptr<MainFrm> startShell(const ShellConfig& config, MessageSink* messages,
                                    EarlyStartupLoad* early = nullptr);

// main(): the whole run, returning the exit code.
int runProgram(int argc, char** argv);

} // namespace n4
