// A tiny form built in code for the Win32 window tests: a frame holding a
// label, a picture box with a label inside, a label defined after the box
// that reaches over its left edge, a button, and a menu bar with a File menu
// and a hidden pop-up.
#pragma once

#include "platform/ui/model.h"

namespace qx::win32ui::test {

struct TestForm : ui::Form {
    TestForm()
        : ui::Form("frmTest"),
          mnuFile(*this, "mnuFile", "&File", nullptr),
          mnuFree(*this, "mnuFree", "&Free memory", &mnuFile, "Ctrl+F"),
          mnuLine(*this, "mnuLine", "-", &mnuFile),
          mnuTop(*this, "mnuTop", "&Top Most", &mnuFile, "Ctrl+T"),
          mnuHelp(*this, "mnuHelp", "&Help", nullptr),
          mnuAbout(*this, "mnuAbout", "&About", &mnuHelp, "F1"),
          mnuPopUp(*this, "mnuPopUp", "PopUp", nullptr),
          mnuShow(*this, "mnuShow", "&Hide", &mnuPopUp),
          frame(*this, "Frame1", ui::Kind::Frame, nullptr, 150, 300, 3000, 1500),
          lblInFrame(*this, "lblInFrame", ui::Kind::Label, &frame, 150, 300, 1500, 300),
          picGraph(*this, "picGraph", ui::Kind::PictureBox, nullptr, 3300, 300, 1050, 1050),
          lblInBox(*this, "lblInBox", ui::Kind::Label, &picGraph, 450, 750, 300, 150),
          lblOverBox(*this, "lblOverBox", ui::Kind::Label, nullptr, 3000, 1200, 600, 300),
          cmdOK(*this, "cmdOK", ui::Kind::Button, nullptr, 3300, 2250, 1050, 450) {
        setCaption("Quendax test");
        setClientSize(4500, 3000);
        mnuPopUp.setVisible(false);
        lblInFrame.setCaption("Gr\xC3\xB6\xC3\x9F" "e 1,234 MB");  // "Größe 1,234 MB"
        cmdOK.setCaption("OK");
        frame.setCaption("Physical memory");
        picGraph.scalePixels = true;
        picGraph.setBackColor(0x000000);
        lblInBox.transparent = true;
        lblOverBox.setBackColor(0x000000FF);  // red
        lblOverBox.fontSize = 9.75;
        lblOverBox.fontBold = true;
    }

    ui::MenuItem mnuFile, mnuFree, mnuLine, mnuTop, mnuHelp, mnuAbout, mnuPopUp, mnuShow;
    ui::Control frame, lblInFrame, picGraph, lblInBox, lblOverBox, cmdOK;
};

}  // namespace qx::win32ui::test
