// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include "app/PlannerApplication.h"
#include "app/PlannerStart.h"
#include "calendar/ErrorReport.h"
#include "calendar/Form1.h"
#include "settings/SettingsStore.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace TestEnvironment;

// The planner and tavorin-notes in the user's language: our own messages and
// help translated, Qt's dialogs too, the window's design texts unchanged.
// Runs under LANG=de_DE.UTF-8 (set in CMake) with the locales made by the
// fixture translation_locales.
class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void plannerSpeaksGermanButKeepsItsDesignTexts()
    {
        FixedToday::set(QDate(2021, 8, 15));
        const QString store = SettingsStore::defaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(store).path()));
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
        file.close();

        RecordedMessages messages;
        Form1 window;
        startPlanner(window);

        QVERIFY(!messages.shown().isEmpty());
        const QString damaged = QStringLiteral("Lesen nicht möglich (Notizspeicher %1): ").arg(store);
        QVERIFY2(messages.shown().first().text.startsWith(damaged), qPrintable(messages.shown().first().text));
        bool reported = false;
        for (const ShownMessage &message : messages.shown()) {
            if (message.title != QLatin1String("Application Error"))
                continue;
            reported = true;
            QVERIFY2(message.text.contains(QLatin1String("at line 14")), qPrintable(message.text));
            QVERIFY(message.text.contains(QLatin1String("Please email screenshot of this message to ")));
        }
        QVERIFY(reported);

        for (const auto &[name, text] : {std::pair{"Frame1", "Month 1"}, {"Frame2", "Month 2"}, {"Frame3", "Text Color"}})
            QCOMPARE(window.findChild<QGroupBox *>(QLatin1String(name))->title(), QLatin1String(text));
        for (const auto &[name, text] : {std::pair{"Label1", "Month:"}, {"Label2", "Year:"}})
            QCOMPARE(window.findChild<QLabel *>(QLatin1String(name))->text(), QLatin1String(text));
    }

    void colourDialogSpeaksGerman()
    {
        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Farbauswahl"));
        QStringList buttons;
        for (const QPushButton *button : dialog.findChildren<QPushButton *>())
            buttons << button->text();
        QVERIFY2(buttons.contains(QStringLiteral("Abbrechen")), qPrintable(buttons.join(u',')));
    }

    void notesProgramSpeaksTheLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QStringList help{QStringLiteral("--help")};
        const QStringList unknown{QStringLiteral("frobnicate")};
        QTest::newRow("German help") << "de_DE.UTF-8" << help << "Befehle:";
        QTest::newRow("Russian help") << "ru_RU.UTF-8" << help << "Команды:";
        QTest::newRow("German usage error") << "de_DE.UTF-8" << unknown << "Unbekannter Befehl „frobnicate“.";
        QTest::newRow("Russian usage error") << "ru_RU.UTF-8" << unknown << "Неизвестная команда «frobnicate».";
        QTest::newRow("German command list") << "de_DE.UTF-8" << help << "--watch] Die Notizen in beide Richtungen";
        QTest::newRow("German sync help") << "de_DE.UTF-8" << QStringList{"sync", "--help"}
                                          << "Hält die Notizen hier und auf einem CalDAV-Server";
        QTest::newRow("Russian sync usage error") << "ru_RU.UTF-8" << QStringList{"sync", "--dry-run", "--status"}
                                                  << "--dry-run и --status нельзя указывать вместе.";
        // Messages of the sync's lower parts, each file with a translation context of its own.
        QTest::newRow("German, server not reachable")
            << "de_DE.UTF-8" << QStringList{"sync", "setup", "http://127.0.0.1:9/cal/", "--user", "u", "--password-command", "echo x"}
            << "ist nicht erreichbar";
        QTest::newRow("English stays English") << "en_US.UTF-8" << unknown << "Unknown command \"frobnicate\".";
    }

    void notesProgramSpeaksTheLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QProcess notes;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), locale);
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("LANGUAGE"), locale.section(u'.', 0, 0));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path()); // sync setup writes nothing elsewhere
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString());
        notes.setProcessEnvironment(environment);
        notes.start(QStringLiteral(NOTES_PATH), arguments);
        QVERIFY(notes.waitForFinished(20000));
        const QString output = QString::fromUtf8(notes.readAllStandardOutput() + notes.readAllStandardError());
        QVERIFY2(output.contains(expected), qPrintable(output));
    }

private:
    QTemporaryDir m_config;
};

int main(int argc, char *argv[])
{
    // The planner's own application object loads the translations, as at a real start.
    PlannerApplication application(argc, argv);
    TranslationsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_translations.moc"
