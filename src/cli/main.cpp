// vistello-cli: drives the album store, the transitions, the decoders and the renderer
// without a window. Usage: vistello-cli [--root DIR] COMMAND ...

#include "cli/cli.h"
#include "store/root_path.h"
#include "store/store_error.h"
#include "texts/store_error_text.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeUsage(std::FILE* out) {
    std::fprintf(out, "usage: vistello-cli [--root DIR] COMMAND ...\ncommands:\n");
    for (const auto& command : vistello::cli::commandTable())
        std::fprintf(out, "  %s %s\n", command.name, command.usage);
}

int printUsage() {
    writeUsage(stderr);
    return vistello::cli::kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    using namespace vistello::cli;
    // Text drawing and image loading need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, CI, ssh) Qt warns about a missing runtime folder on every run.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/vistello-runtime-" + std::to_string(::getuid());
        ::mkdir(runtime.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    // Asked for: the usage on stdout, and success.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
                      std::strcmp(argv[1], "help") == 0)) {
        writeUsage(stdout);
        return kExitOk;
    }

    Context context;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--root") == 0) {
        if (i + 1 >= argc)
            return printUsage();
        context.root = argv[i + 1];
        i += 2;
    }
    if (i >= argc)
        return printUsage();
    const std::string_view name = argv[i++];
    for (; i < argc; ++i)
        context.args.emplace_back(argv[i]);

    for (const auto& command : commandTable()) {
        if (name != command.name)
            continue;
        try {
            if (context.root.empty())
                context.root = vistello::store::defaultRootPath();
            return command.run(context);
        } catch (const vistello::store::StoreError& error) {
            printMessage(vistello::texts::storeErrorText(error));
            return kExitFailure;
        } catch (const std::exception& error) {
            printMessage(error.what());
            return kExitFailure;
        }
    }
    std::fprintf(stderr, "vistello-cli: unknown command '%.*s'\n", static_cast<int>(name.size()),
                 name.data());
    return printUsage();
}
