#include "log/log.h"
#include "support/gamefolder.h"

using namespace tess;

class TestLog : public QObject
{
    Q_OBJECT

private slots:
    void level_column_is_padded_to_eight()
    {
        const QDateTime when(QDate(2025, 12, 8), QTime(11, 34, 5));
        const QByteArray nl = QByteArray(platform_line_end());
        QCOMPARE(Logger::formatLine(Level::Info, when, QStringLiteral("Основное GUI загружено")),
                 QByteArray("  08.12.2025 11:34:05 | OK       | Основное GUI загружено") + nl);
        QCOMPARE(Logger::formatLine(Level::Debug, when, QStringLiteral("x")),
                 QByteArray("  08.12.2025 11:34:05 | DEBUG    | x") + nl);
        QCOMPARE(Logger::formatLine(Level::Warning, when, QStringLiteral("x")),
                 QByteArray("  08.12.2025 11:34:05 | WARNING  | x") + nl);
        QCOMPARE(Logger::formatLine(Level::Error, when, QStringLiteral("x")),
                 QByteArray("  08.12.2025 11:34:05 | ERROR    | x") + nl);
        QCOMPARE(Logger::formatLine(Level::Critical, when, QStringLiteral("x")),
                 QByteArray("  08.12.2025 11:34:05 | CRITICAL | x") + nl);
    }

    void date_and_time_carry_leading_zeros()
    {
        const QDateTime when(QDate(2026, 1, 5), QTime(9, 3, 7));
        QVERIFY(Logger::formatLine(Level::Info, when, QString()).startsWith("  05.01.2026 09:03:07 | "));
    }

    void message_is_written_as_given()
    {
        const QDateTime when(QDate(2026, 1, 5), QTime(9, 3, 7));
        const QByteArray line = Logger::formatLine(Level::Info, when, QStringLiteral("100% %s %(x)s"));
        QVERIFY(line.contains("| 100% %s %(x)s"));
    }

    void lines_are_appended_across_runs_as_utf8_without_bom()
    {
        GameFolder game;
        const QString path = game.path(QStringLiteral("launcher/events.log"));
        {
            Logger first(QStringLiteral("-THIS-"));
            QVERIFY(first.open(path));
            first.info(QStringLiteral("Первый запуск"));
        }
        {
            Logger second(QStringLiteral("-THIS-"));
            QVERIFY(second.open(path));
            second.warning(QStringLiteral("Второй запуск"));
            // Flushed at once: readable while the logger is still open.
            QByteArray text = game.read(QStringLiteral("launcher/events.log"));
            QCOMPARE(text.count(expected_line_end()), 2);
            const QList<QByteArray> lines = text.replace(expected_line_end(), "\n").split('\n');
            QCOMPARE(lines.size(), 3);
            QVERIFY(lines.at(0).startsWith("  "));
            QVERIFY(lines.at(0).endsWith(QStringLiteral("| OK       | Первый запуск").toUtf8()));
            QVERIFY(lines.at(1).endsWith(QStringLiteral("| WARNING  | Второй запуск").toUtf8()));
            QVERIFY(lines.at(2).isEmpty());
        }
    }

    void a_log_that_cannot_be_opened_drops_messages_quietly()
    {
        GameFolder game;
        game.mkdir(QStringLiteral("launcher/events.log"));  // a folder where the file should be
        Logger logger(QStringLiteral("-THIS-"));
        QVERIFY(!logger.open(game.path(QStringLiteral("launcher/events.log"))));
        logger.critical(QStringLiteral("lost"));
        QVERIFY(!logger.isOpen());
    }

    void shared_logger_is_named_this() { QCOMPARE(log().name(), QStringLiteral("-THIS-")); }

private:
    static QByteArray platform_line_end() { return expected_line_end(); }
};

QTEST_GUILESS_MAIN(TestLog)
#include "test_log.moc"
