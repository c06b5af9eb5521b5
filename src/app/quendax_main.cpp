// quendax: the desktop program. Puts the Linux memory and freeing services,
// the Qt backend, the sampling module and the main window together and runs
// the event loop until the main window unloads.
//
//   quendax [/AUTO | /QUIT]
//   quendax --help | -h | --version           print and exit, no window opened
// and, as testing aids:
//   quendax --screenshot FILE [--after MS] [--overwrite]
//                                             save a picture of the window, then exit
//   quendax --close-after MS                  close the window as its close box would
//   quendax --fixed-figures TOTAL,FREE,FREED  run on these memory figures (fixed_figures.h)
//   quendax --describe-window FILE            keep the window's description in FILE
//                                             (ui/window_description.h)
#include <charconv>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/fixed_figures.h"
#include "mainwindow/frm_main.h"
#include "mainwindow/usage.h"
#include "platform/linux/figure_sources.h"
#include "platform/linux/font_config_preload.h"
#include "mainwindow/main_window_events.h"
#include "platform/linux/linux_freeing.h"
#include "platform/linux/linux_memory.h"
#include "platform/linux/linux_shell_services.h"
#include "platform/qt/display_check.h"
#include "app/qt_main_window_start.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_backend.h"
#include "sampling/mod_memory.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kDefaultScreenshotDelayMs = 1000;

constexpr const char* kTestingAids =
    "Testing aids (they write nothing but the picture asked for):\n"
    "  --screenshot FILE  save a picture of the window as FILE (PNG), then exit;\n"
    "                     an existing FILE is kept unless --overwrite is given\n"
    "  --after MS         take the picture after MS milliseconds (1000)\n"
    "  --overwrite        replace an existing FILE\n"
    "  --close-after MS   close the window after MS milliseconds\n"
    "  --fixed-figures TOTAL,FREE,FREED\n"
    "                     run on these memory figures in MB, FREED free after a\n"
    "                     freeing run\n"
    "  --describe-window FILE\n"
    "                     keep in FILE where the window's controls are and the\n"
    "                     colours they show, for a test to compare with a picture\n";

struct Options {
    std::string commandLine;  // the program's own arguments, for the main window
    std::string screenshotFile;
    std::optional<int> screenshotAfterMs;
    std::optional<int> closeAfterMs;
    bool overwrite = false;
    std::optional<qx::FixedFigures> fixedFigures;
    std::string descriptionFile;
};

std::optional<int> parseMilliseconds(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// Takes out the options meant for this entry; everything else is the
// command line the main window reads. Returns nothing after a usage error.
std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--screenshot" && hasValue) {
            options.screenshotFile = argv[++i];
        } else if ((arg == "--after" || arg == "--close-after") && hasValue) {
            const std::optional<int> ms = parseMilliseconds(argv[++i]);
            if (!ms) return std::nullopt;
            (arg == "--after" ? options.screenshotAfterMs : options.closeAfterMs) = ms;
        } else if (arg == "--overwrite") {
            options.overwrite = true;
        } else if (arg == "--fixed-figures" && hasValue) {
            options.fixedFigures = qx::ParseFixedFigures(argv[++i]);
            if (!options.fixedFigures) return std::nullopt;
        } else if (arg == "--describe-window" && hasValue) {
            options.descriptionFile = argv[++i];
        } else if (arg == "--screenshot" || arg == "--after" || arg == "--close-after" || arg == "--fixed-figures" ||
                   arg == "--describe-window") {
            return std::nullopt;
        } else {
            if (!options.commandLine.empty()) options.commandLine.push_back(' ');
            options.commandLine.append(arg);
        }
    }
    if ((options.screenshotAfterMs || options.overwrite) && options.screenshotFile.empty()) return std::nullopt;
    return options;
}

// The program's arguments as one text, as the main window reads them.
std::string JoinedArguments(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text.push_back(' ');
        text.append(argv[i]);
    }
    return text;
}

// Prints the usage text or the version line if `commandLine` asks for one;
// returns whether it did.
bool PrintInfo(const std::string& commandLine) {
    switch (qx::InfoRequestFor(commandLine)) {
    case qx::InfoRequest::help:
        std::fputs(qx::UsageText(qx::linuxos::kLinuxFigureSources, kTestingAids).c_str(), stdout);
        return true;
    case qx::InfoRequest::version:
        std::printf("%s\n", qx::VersionText().c_str());
        return true;
    case qx::InfoRequest::none:
        break;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // One heap for every thread: the few threads here (the toolkit's own,
    // and the font configuration read ahead) allocate little and seldom,
    // and a heap of their own each would keep its freed memory out of the
    // others' reach.
    mallopt(M_ARENA_MAX, 1);
#endif
    // Answered before anything looks for a display.
    if (PrintInfo(JoinedArguments(argc, argv))) return std::fflush(stdout) == 0 ? 0 : 1;
    if (!qx::qt::displayConfigured(argc, argv)) {
        std::fprintf(stderr, "%s\n", qx::qt::kNoDisplayMessage);
        return qx::qt::kNoDisplayStatus;
    }
    // Read while the toolkit loads its display plugin and connects.
    qx::linuxos::FontConfigPreload fonts;
    qx::qt::Application app(argc, argv);
    fonts.wait();
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: quendax [/AUTO | /QUIT] [--screenshot FILE [--after MS] [--overwrite]] "
                     "[--close-after MS] [--fixed-figures TOTAL,FREE,FREED] [--describe-window FILE]\n");
        return kUsageStatus;
    }
    // The same questions after the toolkit took out its own arguments ("-platform").
    if (PrintInfo(options->commandLine)) return std::fflush(stdout) == 0 ? 0 : 1;
    std::error_code ignored;
    if (!options->screenshotFile.empty() && !options->overwrite &&
        std::filesystem::exists(options->screenshotFile, ignored)) {
        std::fprintf(stderr, "quendax: %s exists; add --overwrite to replace it\n", options->screenshotFile.c_str());
        return 1;
    }

    qx::linuxos::LinuxMemory machineMemory;
    qx::linuxos::LinuxFreeing machineFreeing;
    qx::linuxos::LinuxShellServices lookups;
    std::unique_ptr<qx::FixedFiguresSystem> fixed;
    if (options->fixedFigures) fixed = std::make_unique<qx::FixedFiguresSystem>(machineMemory, *options->fixedFigures);
    qx::MemorySystem& memory = fixed ? static_cast<qx::MemorySystem&>(*fixed) : machineMemory;
    qx::FreeingSystem& freeing = fixed ? static_cast<qx::FreeingSystem&>(*fixed) : machineFreeing;
    qx::WatchedBlock& blocks = fixed ? static_cast<qx::WatchedBlock&>(*fixed) : machineFreeing;
    qx::qt::QtBackend backend(memory, freeing, blocks, lookups, options->commandLine);
    if (!options->descriptionFile.empty()) backend.describeWindowTo(options->descriptionFile);
    qx::ModMemory sampling(backend.system());
    qx::FrmMain main(backend.system(), sampling);

    qx::MainWindowEvents events(main);
    qx::app::startMainWindow(backend, main, events);
    if (!options->screenshotFile.empty()) {
        backend.screenshotAfter(options->screenshotAfterMs.value_or(kDefaultScreenshotDelayMs),
                                options->screenshotFile, options->overwrite);
    }
    if (options->closeAfterMs) backend.closeAfter(*options->closeAfterMs);
    return backend.exec();
}
