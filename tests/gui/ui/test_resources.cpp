#include "support/windowfixture.h"

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void every_picture_opens_with_its_format_and_size_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        const auto png = [](const char *path, int w, int h, bool alpha = true) {
            QTest::newRow(path) << QString::fromLatin1(path) << QByteArray("png") << QSize(w, h) << alpha;
        };
        QTest::newRow("background") << ":/main_window/background.jpg" << QByteArray("jpeg") << QSize(2099, 1440)
                                    << false;
        png(":/main_window/bg.png", 520, 580);
        png(":/main_window/discord_logo.png", 30, 24);
        png(":/main_window/handle.png", 9, 18);
        png(":/main_window/bar.png", 171, 30);
        png(":/main_window/arrow.png", 17, 17);
        png(":/main_window/arrow_hover.png", 17, 17);
        png(":/main_window/arrow_disabled.png", 17, 17);
        png(":/main_window/bg_small.png", 200, 56);
        png(":/main_window/listbg.png", 108, 15, false);
        png(":/main_window/sign.png", 11, 40);
        for (const char *dir : {"up", "down"})
            for (const char *tone : {"normal", "hover", "pressed"}) {
                const QByteArray path = QByteArray(":/scrollbar/scroll_arrow_") + dir + "_" + tone + ".png";
                QTest::newRow(path.constData())
                    << QString::fromLatin1(path) << QByteArray("png") << QSize(25, 24) << true;
            }
        png(":/scrollbar/scroll_handler.png", 25, 150);
        png(":/scrollbar/scroll_handler_mini.png", 25, 23);
        for (const char *tone : {"norm", "hover", "press", "disabled"}) {
            const QByteArray big = QByteArray(":/buttons/but_") + tone + ".png";
            const QByteArray small = QByteArray(":/buttons/but_small_") + tone + ".png";
            QTest::newRow(big.constData()) << QString::fromLatin1(big) << QByteArray("png") << QSize(270, 41) << true;
            QTest::newRow(small.constData())
                << QString::fromLatin1(small) << QByteArray("png") << QSize(95, 41) << true;
        }
    }
    void every_picture_opens_with_its_format_and_size()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        QImageReader reader(path);
        QCOMPARE(reader.format(), format);
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.hasAlphaChannel(), alpha);
    }

    void the_drop_down_list_is_opaque_inside_its_rim()
    {
        // The rows behind an open list must not show through it.
        const QImage list = QImage(QStringLiteral(":/main_window/bg_small.png")).convertToFormat(QImage::Format_ARGB32);
        for (int y = 3; y < list.height() - 3; ++y)
            for (int x = 3; x < list.width() - 3; ++x)
                QVERIFY2(qAlpha(list.pixel(x, y)) == 255, qPrintable(QStringLiteral("at %1,%2").arg(x).arg(y)));
    }

    void background_is_a_progressive_jpeg()
    {
        QFile f(QStringLiteral(":/main_window/background.jpg"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        // SOF2 marks a progressive frame.
        QVERIFY(f.readAll().contains(QByteArray("\xFF\xC2", 2)));
    }

    void icon_holds_six_images_of_the_right_sizes()
    {
        QImageReader reader(QStringLiteral(":/main_window/icon.ico"));
        QCOMPARE(reader.imageCount(), 6);
        QList<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY(!image.isNull());
            QCOMPARE(image.width(), image.height());
            sizes << image.width();
        }
        QCOMPARE(sizes, (QList<int>{16, 32, 64, 80, 128, 256}));
        QFile f(QStringLiteral(":/main_window/icon.ico"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray ico = f.readAll();
        // The 256 entry is PNG, the others 32-bit bitmaps.
        const auto entry = [&ico](int i) { return ico.mid(6 + 16 * i, 16); };
        const auto offset = [&](int i) { return qFromLittleEndian<quint32>(entry(i).constData() + 12); };
        QCOMPARE(ico.mid(int(offset(5)), 4), QByteArray("\x89PNG"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(qFromLittleEndian<quint16>(ico.constData() + offset(i) + 14), quint16(32));
    }

    void fonts_register_under_their_families_and_styles()
    {
        const auto families = [](const char *path) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
            return QFontDatabase::applicationFontFamilies(id);
        };
        QCOMPARE(families(":/fonts/friz_RU.ttf"), QStringList{"FrizQuadrataCTT"});
        QCOMPARE(families(":/fonts/friz_noRU.otf"), QStringList{"Friz Quadrata Std"});
        QCOMPARE(families(":/fonts/friz_noRU_bold.otf"), QStringList{"Friz Quadrata Std"});
        QFontDatabase db;
        QVERIFY(db.styles(QStringLiteral("Friz Quadrata Std")).contains(QStringLiteral("Medium")));
        QVERIFY(db.styles(QStringLiteral("Friz Quadrata Std")).contains(QStringLiteral("Bold")));
        QCOMPARE(db.styles(QStringLiteral("FrizQuadrataCTT")), QStringList{"Regular"});
        QCOMPARE(db.weight(QStringLiteral("Friz Quadrata Std"), QStringLiteral("Bold")), int(QFont::Bold));
        // Cyrillic in the Russian face only.
        QVERIFY(db.writingSystems(QStringLiteral("FrizQuadrataCTT")).contains(QFontDatabase::Cyrillic));
        QVERIFY(!db.writingSystems(QStringLiteral("Friz Quadrata Std")).contains(QFontDatabase::Cyrillic));
    }

    void fonts_mark_only_their_bold_face_bold()
    {
        // Windows' font mapper picks a face of a family by these bits, not by
        // its weight class: a medium face marked bold is taken for bold texts.
        for (const char *path : {":/fonts/friz_RU.ttf", ":/fonts/friz_noRU.otf", ":/fonts/friz_noRU_bold.otf"}) {
            QFile f(QString::fromLatin1(path));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray font = f.readAll();
            const auto table = [&font](const char *tag) {
                const int count = qFromBigEndian<quint16>(font.constData() + 4);
                for (int i = 0; i < count; ++i) {
                    const char *record = font.constData() + 12 + 16 * i;
                    if (QByteArray(record, 4) == tag)
                        return font.constData() + qFromBigEndian<quint32>(record + 8);
                }
                return static_cast<const char *>(nullptr);
            };
            const char *os2 = table("OS/2");
            const char *head = table("head");
            QVERIFY(os2 && head);
            const bool bold = qFromBigEndian<quint16>(os2 + 4) >= 700;  // usWeightClass
            const quint16 selection = qFromBigEndian<quint16>(os2 + 62);
            QVERIFY2(bool(selection & 0x20) == bold, path);                        // BOLD
            QVERIFY2(bool(selection & 0x40) == !bold, path);                       // REGULAR
            QVERIFY2(bool(qFromBigEndian<quint16>(head + 44) & 1) == bold, path);  // macStyle bold
        }
    }

    void the_bundle_holds_each_picture_also_at_twice_its_size()
    {
        for (const char *folder : {":/buttons", ":/main_window", ":/scrollbar"}) {
            const QDir dir(QString::fromLatin1(folder));
            for (const QString &name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
                if (name.contains(QLatin1Char('@')))
                    continue;
                const QImage twice(
                    dir.filePath(QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"))));
                QVERIFY2(!twice.isNull(), qPrintable(name));
                QCOMPARE(twice.size(), QImage(dir.filePath(name)).size() * 2);
            }
        }
    }

    void the_bundle_holds_exactly_57_files()
    {
        // Qt keeps resources of its own beside ours: count our four folders.
        int files = 0;
        for (const char *folder : {":/buttons", ":/fonts", ":/main_window", ":/scrollbar"})
            files += QDir(QString::fromLatin1(folder)).entryList(QDir::Files).size();
        QCOMPARE(files, 57);
        QCOMPARE(QDir(QStringLiteral(":/fonts")).entryList(QDir::Files).size(), 3);
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
