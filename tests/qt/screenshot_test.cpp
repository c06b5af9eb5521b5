// The screenshot testing aid in-process: it saves the window as a PNG and
// ends the program, and never replaces a file it was not asked to, even one
// that appeared after the program started.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "program_fixture.h"

namespace qx::qt {
namespace {

void WriteMine(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("mine");
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(Screenshot, SavesTheWindowAndEndsWithStatusZero) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("window.png"));
    testing::Program program;
    program.backend.screenshotAfter(100, path.toStdString());
    EXPECT_EQ(program.backend.exec(), 0);
    EXPECT_FALSE(QImage(path).isNull());
}

TEST(Screenshot, KeepsAFileThatAppearedAfterTheStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("window.png"));
    testing::Program program;
    program.backend.screenshotAfter(100, path.toStdString());
    WriteMine(path);
    EXPECT_EQ(program.backend.exec(), 1);
    EXPECT_EQ(Contents(path), QByteArray("mine"));
}

TEST(Screenshot, ReplacesAFileWhenAskedTo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("window.png"));
    testing::Program program;
    program.backend.screenshotAfter(100, path.toStdString(), true);
    WriteMine(path);
    EXPECT_EQ(program.backend.exec(), 0);
    EXPECT_FALSE(QImage(path).isNull());
}

TEST(Screenshot, LeavesNoFileWhenItCannotSave) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("no-such-folder/window.png"));
    testing::Program program;
    program.backend.screenshotAfter(100, path.toStdString());
    EXPECT_EQ(program.backend.exec(), 1);
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace qx::qt
