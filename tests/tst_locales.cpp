// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FormHarness.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"


#include <QDir>
#include <QLocale>
#include <QTest>

using namespace TestEnvironment;
using namespace FormHarness;

// Month and weekday names follow the user's language, and so do the keys the
// notes are stored under.
class LocalesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestApplicationFolder::set(QDir::tempPath() + "/tavorin-no-skin-here"); }
    void cleanupTestCase() { useEnglishNames(); }

    void namesFollowTheLanguage_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("august");
        QTest::addColumn<QString>("september");
        QTest::addColumn<QString>("firstCaption");
        QTest::addColumn<QString>("noteKey");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "August" << "September"
                                 << "01 Sun" << "August_2021_txtNote_5";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "August" << "September"
                                << "01 Son" << "August_2021_txtNote_5";
        QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << QString::fromUtf8("август")
                                 << QString::fromUtf8("сентябрь") << QString::fromUtf8("01 вос")
                                 << QString::fromUtf8("август_2021_txtNote_5");
    }
    void namesFollowTheLanguage()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, august);
        QFETCH(QString, september);
        QFETCH(QString, firstCaption);
        QFETCH(QString, noteKey);
        QLocale::setDefault(locale);
        FixedToday::set(QDate(2021, 8, 15));
        PrivateStore store;
        RecordedMessages messages;
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.panel1()->monthText(), august);
        QCOMPARE(form.panel2()->monthText(), september);
        QCOMPARE(form.panel1()->dayCaption(0)->text(), firstCaption);
        QCOMPARE(form.panel1()->monthSelector()->count(), 12);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.panel1()->noteBox(5)->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(form.panel1()->noteBox(5), "x");
        QCOMPARE(store.contents().value(noteKey), QString("x"));
        QVERIFY(messages.shown().isEmpty());
    }
};

QTEST_MAIN(LocalesTest)
#include "tst_locales.moc"
