#include <filesystem>
#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    std::error_code ec;
    auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    std::string folder = ec ? std::string(".") : exe.parent_path().string();
    return n4::runCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                      folder);
}
