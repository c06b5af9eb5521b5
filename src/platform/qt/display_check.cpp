#include "platform/qt/display_check.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace qx::qt {

namespace {

bool isSet(const char* value) { return value && *value; }

bool isDisplayFailure(const QString& message) {
    return message.contains(QLatin1String("could not connect to display"), Qt::CaseInsensitive) ||
           message.contains(QLatin1String("platform plugin"), Qt::CaseInsensitive);
}

void displayFailureHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isDisplayFailure(message)) {
        if (type != QtFatalMsg) return;  // the fatal message that follows says it all
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        std::fflush(stderr);
        _exit(kNoDisplayStatus);
    }
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

}  // namespace

bool displayConfigured(const char* display, const char* waylandDisplay, const char* platform) {
    return isSet(display) || isSet(waylandDisplay) || isSet(platform);
}

bool displayConfigured(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
    }
    return displayConfigured(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                             std::getenv("QT_QPA_PLATFORM"));
}

void installDisplayFailureHandler() { qInstallMessageHandler(displayFailureHandler); }

}  // namespace qx::qt
