// The toolkit's application object for the desktop program, with the
// program's settings: its name and icon, and no quitting when the last
// window closes (the window may be hidden in the notification area, and a
// message box may be the only window open). Create one per process, before
// anything else of the Qt backend.
#pragma once

#include <memory>

class QApplication;

namespace qx::qt {

class Application {
public:
    // `argc` must outlive the object; the toolkit takes its own options out
    // of `argv`.
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace qx::qt
