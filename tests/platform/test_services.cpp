#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "platform/QtServices.h"
#include "platform/Text.h"
#include "support/core/TempDir.h"

using namespace kestro::platform;

TEST(QtServices, FiltersMatchExtensionsWithoutCase) {
    EXPECT_EQ(ToQtFilter(QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*")),
              QStringLiteral("Virtual Boy ROM Image (*.vb *.VB);;All Files (*)"));
    EXPECT_EQ(ToQtFilter(QStringLiteral("Palette (*.pvb)|*.pvb")), QStringLiteral("Palette (*.pvb *.PVB)"));
    EXPECT_EQ(DisplayText(QStringLiteral("a\rb\r\nc\nd")), QStringLiteral("a\nb\nc\nd"));
}

TEST(QtServices, TitlesShowKatakanaAndComeBackByteForByte) {
    const std::string bytes = "V\xA5TETRIS \xB1\xDF";
    const QString shown = TitleToDisplay(bytes);
    EXPECT_EQ(shown.at(1).unicode(), 0xFF65);
    EXPECT_EQ(shown.at(9).unicode(), 0xFF71);
    EXPECT_EQ(DisplayToTitle(shown), bytes);
    EXPECT_EQ(DisplayToTitle(QStringLiteral("\u3042")), "?") << "a character no title byte shows";
}

TEST(QtServices, LauncherExplainsWhatIsMissing) {
    kestro::test::TempDir dir;
    QtProcessLauncher launcher;
    auto missing = launcher.Start({dir.File("RBOY"), {"game.vb"}, dir.Path().string()});
    EXPECT_FALSE(missing.started);
    EXPECT_NE(missing.error.find("Cannot find the program"), std::string::npos);

    // A program named without extension is found as NAME.EXE; it is a DOS/Windows
    // program, so it needs Wine, which the test hides from the PATH.
    QFile exe(QString::fromStdString(dir.File("RBOY.EXE")));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write("MZ\x90\x00", 4);
    exe.close();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent"));
    auto noWine = launcher.Start({dir.File("RBOY"), {"game.vb"}, dir.Path().string()});
    qputenv("PATH", path);
    EXPECT_FALSE(noWine.started);
    EXPECT_NE(noWine.error.find("RBOY.EXE is a Windows program"), std::string::npos) << noWine.error;
    EXPECT_NE(noWine.error.find("wine"), std::string::npos);
}
