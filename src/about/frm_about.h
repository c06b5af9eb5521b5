// The About box: title, version and credits, "OK", and "&System Info..."
// which starts the system's information tool found through the registry.
#pragma once

#include <string>

#include "platform/ui/model.h"

namespace qx {

class FrmMain;

inline constexpr const char* kAppTitle = "Quendax";
inline constexpr int kVersionMajor = 3;
inline constexpr int kVersionMinor = 1;

class FrmAbout : public ui::Form {
public:
    explicit FrmAbout(FrmMain& main);

    using Kind = ui::Kind;
    ui::Control picIcon;
    ui::Control lblTitle;
    ui::Control lblVersion;
    ui::Control lblAuthor;
    ui::Control Label1;
    ui::Control cmdOK;
    ui::Control cmdSysInfo;

    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Enter presses the default button, Esc the cancel button; both are "OK".
    bool pressKey(std::string_view key);

    void StartSysInfo();
    // Reads one registry value under HKEY_LOCAL_MACHINE as text.
    bool GetKeyValue(std::string_view keyPath, std::string_view valueName, std::string& valueText);

private:
    FrmMain& main_;
};

}  // namespace qx
