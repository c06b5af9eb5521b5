#include "platform/qt/qt_system.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <cstdio>

namespace qx::qt {

namespace {

constexpr int kTopMost = -1;
constexpr int kNotTopMost = -2;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The icon part of a message-box style: 16 stop, 32 question, 48 warning,
// 64 information.
QMessageBox::Icon messageIcon(int style) {
    switch (style & 0x70) {
        case 16: return QMessageBox::Critical;
        case 32: return QMessageBox::Question;
        case 48: return QMessageBox::Warning;
        case 64: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

QtSystem::QtSystem(MemorySystem& memory, FreeingSystem& freeing, WatchedBlock& blocks, LookupSystem& lookups,
                   QtWindowHost& windows, std::string commandLine)
    : memory_(memory),
      freeing_(freeing),
      lookups_(lookups),
      windows_(windows),
      commandLine_(std::move(commandLine)),
      tray_(nullptr),
      blockWaiter_(blocks, windows.dispatcher(), [this](const std::string& why) { warn(why); }) {}

void QtSystem::setTrayHandler(std::function<void(int message)> handler) { tray_.setOnMouse(std::move(handler)); }

bool QtSystem::globalMemoryStatusEx(MemoryStatusEx& status) { return memory_.globalMemoryStatusEx(status); }
void QtSystem::globalMemoryStatus(MemoryStatus& status) { memory_.globalMemoryStatus(status); }
bool QtSystem::getSystemTimes(SystemTimes& times) { return memory_.getSystemTimes(times); }

bool QtSystem::createBlock(std::uint64_t characters) {
    const bool ok = freeing_.createBlock(characters);
    if (!ok && !freeing_.blockRefusal().empty()) warn(freeing_.blockRefusal());
    return ok;
}

void QtSystem::releaseBlock() { freeing_.releaseBlock(); }

void QtSystem::startBlock(std::uint64_t characters, std::function<void(bool ok)> done) {
    blockWaiter_.start(characters, std::move(done));
}

bool QtSystem::notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) {
    switch (message) {
        case TrayMessage::Add: return tray_.add(image, tip);
        case TrayMessage::Modify: return tray_.modify(image, tip);
        case TrayMessage::Delete: return tray_.remove();
    }
    return false;
}

bool QtSystem::setWindowPos(int insertAfter) {
    if (insertAfter != kTopMost && insertAfter != kNotTopMost) return false;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // A Wayland compositor decides the stacking alone; the check mark
        // still records the choice.
        if (!topMostRefusalSaid_) warn("quendax: this desktop does not let programs keep a window on top");
        topMostRefusalSaid_ = true;
        return false;
    }
    return windows_.setStaysOnTop(insertAfter == kTopMost);
}

bool QtSystem::regOpenKey(std::string_view keyPath) { return lookups_.regOpenKey(keyPath); }

bool QtSystem::regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) {
    return lookups_.regQueryValue(keyPath, valueName, value);
}

bool QtSystem::startProgram(std::string_view path) {
    // The path is the program itself, never a shell command line.
    return QProcess::startDetached(toQString(path), {});
}

bool QtSystem::fileExists(std::string_view path) { return lookups_.fileExists(path); }

void QtSystem::messageBox(std::string_view text, std::string_view title, int style) {
    QMessageBox box(messageIcon(style), toQString(title), toQString(text), QMessageBox::Ok);
    box.exec();
    if (windows_.dispatcher().ended()) throw ProcessExit{};
}

void QtSystem::warn(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void QtSystem::exitProcess() { throw ProcessExit{}; }

}  // namespace qx::qt
