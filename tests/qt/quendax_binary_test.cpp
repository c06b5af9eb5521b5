// The quendax program as a user starts it: without a display it says so in
// one line and exits with status 2; closed, it exits with status 0; asked
// for help or its version it answers on standard output, display or not.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include "platform/qt/display_check.h"

namespace qx::qt {
namespace {

struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString out;
    QString err;
};

Outcome Start(const QStringList& args, const QProcessEnvironment& env, const QString& dir) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral(QX_QUENDAX_BINARY), args);
    Outcome run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        run.err = QStringLiteral("did not finish");
        return run;
    }
    run.status = process.exitStatus();
    run.code = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

QProcessEnvironment Offscreen() {
    QProcessEnvironment env = WithoutDisplay();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

const QString kNoDisplayLine = QString::fromLatin1(kNoDisplayMessage) + QLatin1Char('\n');

TEST(QuendaxBinary, WithoutADisplayItSaysSoAndExitsWithStatusTwo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome run = Start({}, WithoutDisplay(), dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);  // no abort, no signal
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, kNoDisplayLine);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());  // no core file
}

TEST(QuendaxBinary, WithAnUnreachableDisplayItSaysTheSame) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = WithoutDisplay();
    // No X server listens on display 91 here (its socket would be /tmp/.X11-unix/X91).
    if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X91"))) GTEST_SKIP() << "display :91 exists";
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":91"));
    const Outcome run = Start({}, env, dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.endsWith(kNoDisplayLine)) << run.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(QuendaxBinary, WithAnUnreachableDisplayItNamesTheDisplayTried) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X91"))) GTEST_SKIP() << "display :91 exists";
    QProcessEnvironment env = WithoutDisplay();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":91"));
    const Outcome run = Start({}, env, dir.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("quendax: cannot open the display \":91\"\n")))
        << run.err.toStdString();
}

TEST(QuendaxBinary, WithAMissingPlatformPluginItNamesThePlugin) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = WithoutDisplay();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nosuchplugin"));
    const Outcome run = Start({}, env, dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("quendax: cannot start the platform plugin \"nosuchplugin\"\n")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(kNoDisplayLine)) << run.err.toStdString();
}

TEST(DisplayFailureLine, NamesTheDisplayOrThePluginFromTheToolkitsMessage) {
    EXPECT_EQ(displayFailureLine(QStringLiteral("could not connect to display :91")),
              QStringLiteral("quendax: cannot open the display \":91\""));
    EXPECT_EQ(displayFailureLine(QStringLiteral("could not connect to display ")),
              QStringLiteral("quendax: cannot open an X display (DISPLAY is not set)"));
    EXPECT_EQ(displayFailureLine(QStringLiteral("Could not load the Qt platform plugin \"xcb\" in \"\" even though "
                                                "it was found.")),
              QStringLiteral("quendax: cannot start the platform plugin \"xcb\""));
    EXPECT_EQ(displayFailureLine(QStringLiteral("no Qt platform plugin could be initialized")), QString());
    EXPECT_EQ(displayFailureLine(QStringLiteral("something else")), QString());
    EXPECT_TRUE(isMissingWaylandPlugin(QStringLiteral("Could not find the Qt platform plugin \"wayland\" in \"\"")));
    EXPECT_FALSE(isMissingWaylandPlugin(QStringLiteral("Could not find the Qt platform plugin \"xcb\" in \"\"")));
}

TEST(QuendaxBinary, ClosingTheWindowExitsWithStatusZero) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome run = Start({QStringLiteral("--close-after"), QStringLiteral("700")}, Offscreen(), dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
}

TEST(QuendaxBinary, ScreenshotOptionSavesTheWindowAndExitsWithStatusZero) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("window.png"));
    const Outcome run = Start({QStringLiteral("--screenshot"), file, QStringLiteral("--after"), QStringLiteral("500")},
                          Offscreen(), dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 272);   // the client area, at least
    EXPECT_GE(image.height(), 271);
}

TEST(QuendaxBinary, UnknownUseOfItsOptionsIsAUsageError) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome run = Start({QStringLiteral("--after"), QStringLiteral("10")}, Offscreen(), dir.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("usage:"))) << run.err.toStdString();
}

TEST(QuendaxBinary, HelpPrintsTheUsageAndExitsWithoutADisplay) {
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const Outcome run = Start({option}, WithoutDisplay(), dir.path());
        EXPECT_EQ(run.status, QProcess::NormalExit) << option.toStdString();
        EXPECT_EQ(run.code, 0) << option.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: quendax [/AUTO | /QUIT]\n"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("\n  /AUTO "))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("\n  /QUIT "))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("/proc/meminfo"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("--screenshot FILE"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("\n  --overwrite "))) << run.out.toStdString();
        for (const QString& line : run.out.split(QLatin1Char('\n'))) {
            EXPECT_LE(line.size(), 79) << line.toStdString();
        }
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
}

TEST(QuendaxBinary, HelpOnADisplayOpensNoWindowEither) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // With a screen it would run until closed; answering at once shows none was opened.
    const Outcome run = Start({QStringLiteral("--help")}, Offscreen(), dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: quendax"))) << run.out.toStdString();
}

TEST(QuendaxBinary, VersionPrintsTheVersionLineAndExitsWithoutADisplay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome run = Start({QStringLiteral("--version")}, WithoutDisplay(), dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("quendax " QX_PROJECT_VERSION "\n"));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(QuendaxBinary, OtherTextsStillStartTheProgram) {
    // Without a display a start is told by its one-line complaint.
    for (const QStringList& args : {QStringList{QStringLiteral("--HELP")}, QStringList{QStringLiteral("-H")},
                                    QStringList{QStringLiteral("/AUTO"), QStringLiteral("--help")},
                                    QStringList{QStringLiteral("--version"), QStringLiteral("x")}}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const Outcome run = Start(args, WithoutDisplay(), dir.path());
        EXPECT_EQ(run.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.err, kNoDisplayLine);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
}

TEST(QuendaxBinary, ScreenshotKeepsAnExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("window.png"));
    {
        QFile existing(file);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("mine");
    }
    const Outcome run = Start({QStringLiteral("--screenshot"), file, QStringLiteral("--after"), QStringLiteral("300")},
                              Offscreen(), dir.path());
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("--overwrite"))) << run.err.toStdString();
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("mine"));
}

TEST(QuendaxBinary, ScreenshotReplacesAnExistingFileWhenAskedTo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("window.png"));
    {
        QFile existing(file);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("mine");
    }
    const Outcome run = Start({QStringLiteral("--screenshot"), file, QStringLiteral("--after"), QStringLiteral("300"),
                               QStringLiteral("--overwrite")},
                              Offscreen(), dir.path());
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_FALSE(QImage(file).isNull());
}

TEST(QuendaxBinary, OverwriteWithoutAScreenshotIsAUsageError) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Outcome run = Start({QStringLiteral("--overwrite")}, Offscreen(), dir.path());
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("usage:"))) << run.err.toStdString();
}

// What the program holds at rest where no session bus can be found: no
// image plugin (its icons and the menu bar's are read without them) and no
// thread for a D-Bus connection.
TEST(QuendaxBinary, AtRestWithoutABusItHoldsNoImagePluginNorBusThread) {
    QProcessEnvironment env = Offscreen();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QX_QUENDAX_BINARY), {QStringLiteral("--close-after"), QStringLiteral("1500")});
    ASSERT_TRUE(process.waitForStarted(10000));
    QThread::msleep(1000);
    const QString proc = QStringLiteral("/proc/%1/").arg(process.processId());
    QFile maps(proc + QStringLiteral("maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    EXPECT_FALSE(maps.readAll().contains("imageformats"));
    QStringList threads;
    for (const QString& task : QDir(proc + QStringLiteral("task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(proc + QStringLiteral("task/") + task + QStringLiteral("/comm"));
        if (comm.open(QIODevice::ReadOnly)) threads << QString::fromLatin1(comm.readAll().trimmed());
    }
    EXPECT_FALSE(threads.contains(QStringLiteral("QDBusConnection"))) << threads.join(u' ').toStdString();
    EXPECT_TRUE(process.waitForFinished(30000));
}

}  // namespace
}  // namespace qx::qt
