#include "support/windowfixture.h"

#include <QToolButton>

class TestLocalization : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { register_fonts(); }

    void shipped_files_put_their_texts_on_the_buttons_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("en") << "config_en.json"
                            << "en_us" << QStringList{"EXIT", "CLEAR CACHE AND TRASH", "RUN GAME"};
        QTest::newRow("ru") << "config_ru.json"
                            << "ru_ru" << QStringList{"ВЫХОД", "ОЧИСТИТЬ КЭШ И МУСОР", "ЗАПУСТИТЬ ИГРУ"};
    }
    void shipped_files_put_their_texts_on_the_buttons()
    {
        QFETCH(QString, file);
        QFETCH(QString, locale);
        QFETCH(QStringList, texts);
        WindowFixture f(shipped_language_file(file), {locale}, file);
        QVERIFY(f.build());
        QCOMPARE(f.window->exit->text(), texts.at(0));
        QCOMPARE(f.window->clear_cache_and_trash->text(), texts.at(1));
        QCOMPARE(f.window->run_wow->text(), texts.at(2));
        QVERIFY(f.messages().contains(QStringLiteral("DEBUG | Текущий файл конфигурации: ") + file));
        QCOMPARE(f.window->session().language_file(), QStringLiteral(".config/") + file);
        // Every patch entry got its row.
        QCOMPARE(f.window->patchFrames().size(), 13 + 2);
    }

    void an_unusable_file_logs_why_then_the_critical_line()
    {
        WindowFixture f(language_file(
            "{\"a\": {\"name\": \"A\", \"actions\": {\"On\": [1, 1]}, \"conditions\": [[\"a1x\", \"h\"]]}}"));
        QVERIFY(!f.build());
        const QStringList lines = f.messages();
        QCOMPARE(lines.last(),
                 QStringLiteral("CRITICAL | Невозможно обработать файл: .config") + QDir::separator()
                     + QStringLiteral("config_en.json"));
        QVERIFY2(
            lines.at(lines.size() - 2)
                .startsWith(QStringLiteral("DEBUG | Ошибка в файле конфигурации: /patches/dynamic/a/conditions/0/0: ")),
            qPrintable(lines.at(lines.size() - 2)));
        QVERIFY(!lines.contains(QStringLiteral("OK | Основное GUI загружено")));
    }

    void a_missing_file_is_the_fallback_and_refused()
    {
        WindowFixture f(shipped_language_file(QStringLiteral("config_ru.json")), {QStringLiteral("RU")},
                        QStringLiteral("config_ru.json"));
        QVERIFY(!f.build());
        QVERIFY(f.messages().last().endsWith(QStringLiteral("config_en.json")));
    }
};

QTEST_MAIN(TestLocalization)
#include "test_localization.moc"
