#include "about/frm_about.h"

#include <cstdint>

#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"

namespace qx {

namespace {
constexpr std::size_t kValueBufferBytes = 1024;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;
}  // namespace

FrmAbout::FrmAbout(FrmMain& main)
    : ui::Form("frmAbout"),
      picIcon(*this, "picIcon", Kind::PictureBox, nullptr, 1680, 120, 540, 540),
      lblTitle(*this, "lblTitle", Kind::Label, nullptr, 840, 720, 2325, 360),
      lblVersion(*this, "lblVersion", Kind::Label, nullptr, 840, 1080, 2295, 255),
      lblAuthor(*this, "lblAuthor", Kind::Label, nullptr, 960, 1440, 2055, 255),
      Label1(*this, "Label1", Kind::Label, nullptr, 150, 1800, 3675, 240),
      cmdOK(*this, "cmdOK", Kind::Button, nullptr, 1320, 2280, 1260, 345),
      cmdSysInfo(*this, "cmdSysInfo", Kind::Button, nullptr, 1320, 2760, 1245, 345),
      main_(main) {
    setCaption("About Quendax");
    icon = "app";
    sizable = false;
    minButton = false;
    maxButton = false;
    showInTaskbar = false;
    setTwipsPerPixel(main.twipsPerPixel());
    // Borders and title bar of a fixed dialog.
    setFrameExtents(90, 480);
    setClientSize(4035, 3255);

    picIcon.setPicture("app");
    picIcon.border = false;
    lblVersion.setCaption("VERSION");
    lblAuthor.setCaption("Memory at a glance");
    Label1.setCaption("Made by the Quendax developers");
    cmdOK.setCaption("OK");
    cmdSysInfo.setCaption("&System Info...");
    for (ui::Control* label : {&lblTitle, &lblVersion, &lblAuthor, &Label1}) {
        label->alignment = ui::Alignment::Center;
        label->fontBold = true;
    }
    lblTitle.fontSize = 12;
    lblVersion.fontSize = 8.25;
    lblAuthor.fontSize = 9.75;
    Label1.fontSize = 9.75;
    lblTitle.setForeColor(0x000000);
    picIcon.tabIndex = 1;
    lblTitle.tabIndex = 3;
    lblVersion.tabIndex = 5;
    lblAuthor.tabIndex = 4;
    Label1.tabIndex = 6;
    cmdOK.tabIndex = 0;
    cmdSysInfo.tabIndex = 2;

    onLoad = [this] { Form_Load(); };
    onUnload = [this] { Form_Unload(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
}

void FrmAbout::Form_Load() {
    // Centred over the main window, in single precision; not kept on screen.
    skipOnError([&] {
        const float left = static_cast<float>(main_.left()) + static_cast<float>(main_.width()) / 2 -
                           static_cast<float>(width()) / 2;
        const float top = static_cast<float>(main_.top()) + static_cast<float>(main_.height()) / 2 -
                          static_cast<float>(height()) / 2;
        setBounds(left, top, width(), height());
    });
    skipOnError([&] { setCaption(std::string("About ") + kAppTitle); });
    skipOnError([&] {
        lblVersion.setCaption(!main_.versionCaption.empty()
                                  ? main_.versionCaption
                                  : "v" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor));
    });
    skipOnError([&] { lblTitle.setCaption(kAppTitle); });
}

void FrmAbout::Form_Unload() {
    skipOnError([&] { main_.setEnabled(true); });
}

void FrmAbout::cmdOK_Click() {
    skipOnError([&] { main_.unloadAbout(); });
}

void FrmAbout::cmdSysInfo_Click() { StartSysInfo(); }

bool FrmAbout::pressKey(std::string_view key) {
    if (key == "Enter" || key == "Esc") {
        clickButton(cmdOK);
        return true;
    }
    return false;
}

void FrmAbout::StartSysInfo() {
    ShellSystem& shell = main_.system();
    try {
        std::string toolPath;
        if (!GetKeyValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", toolPath)) {
            if (!GetKeyValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", toolPath)) {
                throw RuntimeError(ErrorCode::Refused, "not found");
            }
            if (!shell.fileExists(toolPath + "\\MSINFO32.EXE")) {
                throw RuntimeError(ErrorCode::Refused, "not found");
            }
            toolPath += "\\MSINFO32.EXE";
        }
        if (!shell.startProgram(toolPath)) throw RuntimeError(ErrorCode::Refused, "refused");
    } catch (const RuntimeError&) {
        main_.system().messageBox("Unable to start System Information!", "Error", 16);
    }
}

bool FrmAbout::GetKeyValue(std::string_view keyPath, std::string_view valueName,
                           std::string& valueText) {
    ShellSystem& shell = main_.system();
    RegistryValue value;
    if (!shell.regOpenKey(keyPath) || !shell.regQueryValue(keyPath, valueName, value) ||
        value.data.size() > kValueBufferBytes) {
        valueText.clear();
        return false;
    }
    // The data end at the last byte returned, less a closing NUL.
    std::string_view data = value.data;
    if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
    if (value.type == kRegSz) {
        valueText.assign(data);
    } else if (value.type == kRegDword) {
        std::uint32_t number = 0;
        for (std::size_t i = data.size(); i-- > 0;) {
            number = (number << 8) | static_cast<unsigned char>(data[i]);
        }
        valueText = std::to_string(number);
    }
    return true;
}

}  // namespace qx
