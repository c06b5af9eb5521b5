// The command-line switches: "/AUTO" starts hidden with automatic freeing on,
// "/QUIT" frees memory once and quits. The whole text is compared, case
// ignored; anything else starts normally.
#include <algorithm>
#include <cctype>

#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"

namespace qx {

void FrmMain::ApplyCommandLine() {
    std::string text;
    skipOnError([&] { text = system_.commandLine(); });
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    if (text == "/AUTO") {
        skipOnError([&] { HideToTray(); });
        skipOnError([&] { mnuShow.setCaption("&Show"); });
        skipOnError([&] { mnuDefragMemory3_Click(); });
    } else if (text == "/QUIT") {
        skipOnError([&] { mnuFile.setEnabled(false); });
        skipOnError([&] { mnuHelp.setEnabled(false); });
        skipOnError([&] { tmrUpdateMemoryInformation_Timer(); });
        skipOnError([&] { ResetOldBars(); });
        skipOnError([&] { lblStatus.setCaption("Freeing up memory..."); });
        skipOnError([&] { tmrDefragMemory.setTag("4"); });
        skipOnError([&] { tmrDefragMemory.setEnabled(true); });
    }
}

}  // namespace qx
