#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <memory>

#include "core/cli/Cli.h"
#include "core/import/JetReader.h"
#include "core/os/System.h"
#include "paint/GridPicture.h"

namespace {

// Pictures are drawn by the window's own painter, which needs the toolkit's
// GUI module; the tool starts it only for them, on the offscreen platform,
// so that it runs where there is no display.
std::unique_ptr<QGuiApplication> startOffscreenGui() {
    // The toolkit's notes about its own set-up (no runtime folder, say) are
    // not the user's business; its errors still reach standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
    });
    static int argc = 3;
    static char name[] = "numbers4marvo-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    n4::becomeJetReaderIfAsked(argc, argv); // started to read a Jet file
    const std::string exe = n4::os::runningProgramPath();
    const std::string folder =
        exe.empty() ? std::string(".") : std::filesystem::path(exe).parent_path().string();
    std::unique_ptr<QGuiApplication> gui;
    n4::PictureWriter pictures = [&gui](const n4::PictureRequest& request, std::ostream& out,
                                        std::string& error) {
        if (!gui) gui = startOffscreenGui();
        return n4::writeGridPicture(request, out, error);
    };
    return n4::runCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, folder,
                      pictures, n4::os::standardOutputIsTerminal());
}
