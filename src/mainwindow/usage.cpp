#include "mainwindow/usage.h"

namespace qx {

InfoRequest InfoRequestFor(std::string_view commandLine) {
    if (commandLine == "--help" || commandLine == "-h") return InfoRequest::help;
    if (commandLine == "--version") return InfoRequest::version;
    return InfoRequest::none;
}

std::string VersionText() { return std::string("quendax ") + QX_VERSION; }

std::string UsageText(std::string_view figureSources, std::string_view testingAids) {
    std::string text =
        "Usage: quendax [/AUTO | /QUIT]\n"
        "\n"
        "Quendax shows how much physical memory and page file is in use, and frees\n"
        "physical memory when you ask it to.\n"
        "\n"
        "  /AUTO          start hidden in the notification area; free memory when full\n"
        "  /QUIT          free memory once, then quit\n"
        "  -h, --help     show this text and exit\n"
        "  --version      show the version and exit\n"
        "\n"
        "The switches are compared with the whole command line, case ignored; any\n"
        "other text starts the program normally.\n";
    if (!figureSources.empty()) {
        text += "\n";
        text += figureSources;
    }
    if (!testingAids.empty()) {
        text += "\n";
        text += testingAids;
    }
    return text;
}

std::string UsageBoxText() {
    return "Usage: quendax [/AUTO | /QUIT]\n"
           "\n"
           "Quendax shows how much memory is in use and frees memory when you ask it to.\n"
           "\n"
           "/AUTO starts it hidden in the notification area and frees memory whenever it is nearly full.\n"
           "/QUIT frees memory once, then quits.\n"
           "\n"
           "Upper or lower case makes no difference. With anything else, Quendax starts normally.";
}

}  // namespace qx
