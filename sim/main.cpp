// kestrel-receiver-sim: plays the receiver on a pseudo-terminal (see --help).
#include <QCoreApplication>

#include <cstdio>
#include <string>
#include <vector>

#include "SimJson.h"
#include "SimOptions.h"
#include "SimServer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // only for QtCore's file and JSON classes
    std::vector<std::string> args(argv + 1, argv + argc);
    sim::SimOptions options;
    bool help = false;
    std::string error;
    if (!sim::ParseOptions(args, options, help, error)) {
        std::fprintf(stderr, "kestrel-receiver-sim: %s\n(see --help)\n", error.c_str());
        return 2;
    }
    if (help) {
        std::fputs(sim::HelpText().c_str(), stdout);
        return 0;
    }
    sim::Memory memory;
    switch (options.image) {
    case sim::SimOptions::Image::Empty: memory = sim::EmptyMemory(options.region); break;
    case sim::SimOptions::Image::Full: memory = sim::FullMemory(options.region); break;
    case sim::SimOptions::Image::Demo: memory = sim::DemoMemory(options.region); break;
    }
    if (!options.load.empty()) {
        memory = sim::EmptyMemory(options.region);
        if (!sim::LoadMemory(options.load, memory, error)) {
            std::fprintf(stderr, "kestrel-receiver-sim: cannot load %s: %s\n", options.load.c_str(),
                         error.c_str());
            return 2;
        }
    }
    sim::Server server(std::move(options), std::move(memory));
    return server.Run();
}
