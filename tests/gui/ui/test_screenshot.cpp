#include "support/gamefolder.h"
#include "support/languagefile.h"
#include "support/x11session.h"

#include <QImage>

// The real window in a real X server with a compositing manager, so that
// translucency and drop shadows show as a user sees them.
class TestScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void window_shows_its_skin_and_is_saved_as_window_png()
    {
        GameFolder game;
        game.touch(QStringLiteral("launcher/.config/config_en.json"), example_language_file());
        game.touch(QStringLiteral("Data/patch-a.mpq"));
        game.touch(QStringLiteral("Data/patch-2.mpq"));

        QProcess compositor;
        compositor.start(QStringLiteral("xcompmgr"), QStringList());
        QVERIFY(compositor.waitForStarted());

        LauncherProcess launcher;
        launcher.start(QStringLiteral(TESSARINE_EXE), game.launcher(), {QStringLiteral("en")});
        const QString window = launcher.waitForWindow();
        QVERIFY(!window.isEmpty());
        LauncherProcess::xdotool({QStringLiteral("windowmove"), window, QStringLiteral("40"), QStringLiteral("40")});
        QTest::qWait(1500);

        const QString shot = QStringLiteral(TESSARINE_BUILD_DIR "/window.png");
        QFile::remove(shot);
        QCOMPARE(QProcess::execute(QStringLiteral("import"),
                                   {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                                    QStringLiteral("870x610+20+20"), QStringLiteral("+repage"), shot}),
                 0);
        launcher.click(window, LauncherProcess::exitButton);
        QCOMPARE(launcher.waitForExit(), 0);
        compositor.kill();
        compositor.waitForFinished();

        const QImage image(shot);
        QCOMPARE(image.size(), QSize(870, 610));
        const auto at = [&image](QPoint p) { return image.pixelColor(p + QPoint(20, 20)); };
        // The start button is a blue bar; the option list lies on a dark panel.
        const QColor run = at(LauncherProcess::runButton + QPoint(-90, 8));
        QVERIFY2(run.blue() > run.red() + 40, qPrintable(run.name()));
        const QColor panel = at(QPoint(60, 520));
        QVERIFY2(panel.lightness() < 40, qPrintable(panel.name()));
        // Outside the window's right and bottom margins the desktop shows.
        QVERIFY(at(QPoint(845, 300)) != at(QPoint(700, 300)));
    }
};

QTEST_GUILESS_MAIN(TestScreenshot)
#include "test_screenshot.moc"
