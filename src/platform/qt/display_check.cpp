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

// Set when the toolkit looked for its Wayland plugin and found none.
bool waylandPluginMissing = false;

bool isDisplayFailure(const QString& message) {
    return message.contains(QLatin1String("could not connect to display"), Qt::CaseInsensitive) ||
           message.contains(QLatin1String("platform plugin"), Qt::CaseInsensitive);
}

// The first double-quoted word in `text` ("" when there is none).
QString quoted(const QString& text, qsizetype from) {
    const qsizetype open = text.indexOf(QLatin1Char('"'), from);
    if (open < 0) return {};
    const qsizetype close = text.indexOf(QLatin1Char('"'), open + 1);
    return close < 0 ? QString() : text.mid(open + 1, close - open - 1);
}

void displayFailureHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isMissingWaylandPlugin(message)) {
        // Said once, when it is known whether an X display carries on.
        waylandPluginMissing = true;
        return;
    }
    if (isDisplayFailure(message)) {
        if (type != QtFatalMsg) {
            // Say which display or plugin failed; the fatal message that
            // follows is the one line of advice. Where Wayland was wanted,
            // X11 failing too is no news.
            if (waylandPluginMissing) return;
            const QByteArray line = displayFailureLine(message).toLocal8Bit();
            if (!line.isEmpty()) std::fprintf(stderr, "%s\n", line.constData());
            return;
        }
        std::fprintf(stderr, "%s\n", waylandPluginMissing ? kNoWaylandPluginMessage : kNoDisplayMessage);
        std::fflush(stderr);
        _exit(kNoDisplayStatus);
    }
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

}  // namespace

QString displayFailureLine(const QString& message) {
    static const QLatin1String kDisplay("could not connect to display");
    if (const qsizetype at = message.indexOf(kDisplay, 0, Qt::CaseInsensitive); at >= 0) {
        const QString name = message.mid(at + kDisplay.size()).trimmed();
        if (name.isEmpty()) return QStringLiteral("quendax: cannot open an X display (DISPLAY is not set)");
        return QStringLiteral("quendax: cannot open the display \"%1\"").arg(name);
    }
    static const QLatin1String kPlugin("platform plugin");
    if (const qsizetype at = message.indexOf(kPlugin, 0, Qt::CaseInsensitive); at >= 0) {
        const QString name = quoted(message, at + kPlugin.size());
        if (!name.isEmpty()) return QStringLiteral("quendax: cannot start the platform plugin \"%1\"").arg(name);
    }
    return {};
}

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

bool isMissingWaylandPlugin(const QString& message) {
    static const QLatin1String kNotFound("could not find the qt platform plugin");
    const qsizetype at = message.indexOf(kNotFound, 0, Qt::CaseInsensitive);
    return at >= 0 && quoted(message, at + kNotFound.size()) == QLatin1String("wayland");
}

void installDisplayFailureHandler() { qInstallMessageHandler(displayFailureHandler); }

void reportPlatformFallback() {
    if (!waylandPluginMissing) return;
    waylandPluginMissing = false;
    std::fprintf(stderr, "%s\n", kXWaylandFallbackMessage);
    std::fflush(stderr);
}

}  // namespace qx::qt
