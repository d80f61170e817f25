// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSeams.h"
#include "support/WindowTestCase.h"

#include "calendar/ErrorReport.h"
#include "platform/ApplicationInfo.h"
#include "platform/Dispatch.h"
#include "platform/Failure.h"
#include "platform/OleColor.h"
#include "platform/SkinFramework.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace TestEnvironment;
using namespace FormHarness;

namespace {

// Whether the control paints its background in the button-face colour, as
// the skin step's "BackColor" makes it.
bool paintsButtonFace(const QWidget *control)
{
    return control->autoFillBackground()
           && control->palette().color(control->backgroundRole()) == OleColor::toQColor(OleColor::ButtonFace);
}

// A skin engine that records every call, and can fail at one of them.
class RecordingSkinEngine : public Dispatchable
{
public:
    QStringList calls;
    QString failAt;
    bool frameWasButtonFaceWhenLoaded = false;
    QWidget *frame = nullptr;

    QVariant invoke(int id, const QVariantList &arguments) override
    {
        record(QStringLiteral("invoke %1 %2").arg(id).arg(describe(arguments)));
        if (id == SkinFramework::LoadSkin && frame)
            frameWasButtonFaceWhenLoaded = paintsButtonFace(frame);
        return {};
    }
    QVariant getProperty(int id) override
    {
        record(QStringLiteral("get %1").arg(id));
        return id == SkinFramework::Options ? QVariant(0x40) : QVariant();
    }
    void setProperty(int id, const QVariant &value) override
    {
        record(QStringLiteral("set %1 %2").arg(id).arg(value.toString()));
    }

private:
    void record(const QString &call)
    {
        calls << call;
        if (!failAt.isEmpty() && call.startsWith(failAt))
            throw Failure(QStringLiteral("The skin engine refused."));
    }
    static QString describe(const QVariantList &arguments)
    {
        QStringList parts;
        for (const QVariant &argument : arguments)
            parts << (argument.typeId() == QMetaType::QString ? '"' + argument.toString() + '"' : argument.toString());
        return parts.join(u',');
    }
};

// Makes folder the application folder, with a skin file holding styleSheet.
void useSkinFile(const QString &folder, const QByteArray &styleSheet)
{
    QDir(folder).mkpath("x");
    QFile skinFile(folder + "/x/o.cjs");
    if (skinFile.open(QIODevice::WriteOnly))
        skinFile.write(styleSheet);
    TestApplicationFolder::set(folder);
}

const QString ReportTail = QStringLiteral("\r\rPlease email screenshot of this message to ") + ErrorReport::SupportAddress;

} // namespace

// What the user finds when the planner starts: months, years, colour, filled panels.
class StartupTest : public WindowTestCase
{
    Q_OBJECT

private slots:
    void init() { beginTest(); }
    void cleanup() { endTest(); }

    void firstStartOnAnEmptyStore()
    {
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.windowTitle(), QString("Tavorin Planner"));
        QCOMPARE(ApplicationInfo::title(), QString("Tavorin"));
        QCOMPARE(form.panel1()->monthText(), QString("August"));
        QCOMPARE(form.panel2()->monthText(), QString("September"));
        QCOMPARE(form.panel1()->yearText(), QString("2021"));
        QCOMPARE(form.panel2()->yearText(), QString("2021"));
        QCOMPARE(form.swatch()->backColor(), 0);
        QCOMPARE(shownCells(form.panel1()), 31);
        QCOMPARE(shownCells(form.panel2()), 30);
        QCOMPARE(form.panel1()->noteBox(0)->text(), QString());
        QCOMPARE(form.panel1()->noteBox(0)->foreColor(), 0);
        const QMap<QString, QString> expected{{"Text1", "2021"}, {"Text2", "2021"}};
        QCOMPARE(m_store->contents(), expected);
        QVERIFY(m_messages->shown().isEmpty());
        QVERIFY(!form.isRefreshing());
        // The planner's own icon has replaced the blank, transparent design-time one.
        QCOMPARE(form.windowIcon().pixmap(32).toImage().pixelColor(8, 20).alpha(), 255);
    }

    void bothListsHoldTheTwelveMonths()
    {
        Form1 form;
        form.Form_Load();
        const QStringList months{"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
        for (MonthPanel *panel : {form.panel1(), form.panel2()}) {
            QStringList listed;
            for (int i = 0; i < panel->monthSelector()->count(); ++i)
                listed << panel->monthSelector()->itemText(i);
            QCOMPARE(listed, months);
        }
    }

    void panelsStartOnThisMonthAndTheNext_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("month1");
        QTest::addColumn<QString>("month2");
        QTest::newRow("January") << QDate(2022, 1, 1) << "January" << "February";
        QTest::newRow("November") << QDate(2022, 11, 30) << "November" << "December";
        QTest::newRow("December") << QDate(2021, 12, 31) << "December" << "January";
    }
    void panelsStartOnThisMonthAndTheNext()
    {
        QFETCH(QDate, today);
        QFETCH(QString, month1);
        QFETCH(QString, month2);
        FixedToday::set(today);
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.panel1()->monthText(), month1);
        QCOMPARE(form.panel2()->monthText(), month2);
        QCOMPARE(form.panel2()->yearText(), QString::number(today.year())); // no year change for January
        QVERIFY(shownCells(form.panel2()) >= 28);
    }

    void storedYearsComeBackAsStored()
    {
        m_store->put("Text1", "1999");
        m_store->put("Text2", "abc");
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.panel1()->yearText(), QString("1999"));
        QCOMPARE(form.panel2()->yearText(), QString("abc"));
        QCOMPARE(shownCells(form.panel1()), 31);
        QCOMPARE(shownCells(form.panel2()), 0);
        QVERIFY(m_messages->shown().isEmpty());
    }

    void storedNotesShowInTheirColours()
    {
        m_store->put("August_2021_txtNote_5", "Dentist 9:30\nbring forms");
        m_store->put("August_2021_txtNoteColor_5", "255");
        m_store->put("September_2021_txtNote_0", "School starts");
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.panel1()->noteBox(5)->text(), QString("Dentist 9:30\nbring forms"));
        QCOMPARE(form.panel1()->noteBox(5)->foreColor(), 255);
        QCOMPARE(form.panel2()->noteBox(0)->text(), QString("School starts"));
        QCOMPARE(form.panel2()->noteBox(0)->foreColor(), 0);
        QVERIFY(m_messages->shown().isEmpty());
    }

    void storedNoteColour_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<qint32>("swatch");
        QTest::addColumn<QString>("reportedDescription"); // empty: no report
        QTest::newRow("red") << "255" << 255 << QString();
        QTest::newRow("white") << "16777215" << 16777215 << QString();
        QTest::newRow("letters") << "abc" << 0
                                 << "The stored colour \"abc\" is not a whole number from -2147483648 to 2147483647.";
        QTest::newRow("empty") << "" << 0
                               << "The stored colour \"\" is not a whole number from -2147483648 to 2147483647.";
        QTest::newRow("above 32 bits") << "2147483648" << 0
                                       << "The stored colour \"2147483648\" is not a whole number from -2147483648 "
                                          "to 2147483647.";
        QTest::newRow("leading blank") << " 255" << 0
                                       << "The stored colour \" 255\" is not a whole number from -2147483648 to "
                                          "2147483647.";
        QTest::newRow("no colour") << "16777216" << 0
                                   << "16777216 is not a colour value: colours run from 0 to 16777215.";
    }
    void storedNoteColour()
    {
        QFETCH(QString, stored);
        QFETCH(qint32, swatch);
        QFETCH(QString, reportedDescription);
        m_store->put("Forecolor", stored);
        Form1 form;
        form.Form_Load();
        QCOMPARE(form.swatch()->backColor(), swatch);
        if (reportedDescription.isEmpty()) {
            QVERIFY(m_messages->shown().isEmpty());
        } else {
            QCOMPARE(m_messages->shown().size(), 1);
            const ShownMessage &report = m_messages->shown().first();
            QCOMPARE(report.title, QString("Application Error"));
            QCOMPARE(report.style, 48);
            QCOMPARE(report.text, reportedDescription + "\r\nin TavorinPlanner2021/08/31.Form1.Form_Load at line 144"
                                      + ReportTail);
        }
        QCOMPARE(shownCells(form.panel1()), 31); // the refill after the failed step still runs
        QVERIFY(!m_store->contents().contains("Forecolor") || m_store->contents()["Forecolor"] == stored);
    }

    void skinIsLeftAloneWithoutItsFile_data()
    {
        QTest::addColumn<QString>("entry"); // what stands at x/o.cjs
        QTest::newRow("nothing") << "";
        QTest::newRow("a folder") << "folder";
    }
    void skinIsLeftAloneWithoutItsFile()
    {
        QFETCH(QString, entry);
        QTemporaryDir appFolder;
        QDir(appFolder.path()).mkpath("x");
        if (entry == "folder")
            QDir(appFolder.path()).mkpath("x/o.cjs");
        TestApplicationFolder::set(appFolder.path());
        auto engine = std::make_unique<RecordingSkinEngine>();
        RecordingSkinEngine *skin = engine.get();
        Form1 form;
        form.setSkinEngine(std::move(engine));
        form.Form_Load();
        QVERIFY(skin->calls.isEmpty());
        QVERIFY(!paintsButtonFace(form.panel1()));
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void skinFileGetsTheSixCallsInOrder()
    {
        QTemporaryDir appFolder;
        useSkinFile(appFolder.path(), "QComboBox { color: navy; }");

        auto engine = std::make_unique<RecordingSkinEngine>();
        RecordingSkinEngine *skin = engine.get();
        Form1 form;
        skin->frame = form.panel1();
        form.setSkinEngine(std::move(engine));
        form.Form_Load();

        const QString path = appFolder.filePath("x/o.cjs");
        const QStringList expected{QStringLiteral("invoke 2 \"%1\",\"\"").arg(path), "get 1", "set 1 65", "set 5 true",
                                   "set 10 true", QStringLiteral("invoke 3 %1").arg(qint32(quint32(form.winId())))};
        QCOMPARE(skin->calls, expected);
        QVERIFY(skin->frameWasButtonFaceWhenLoaded);
        for (const char *name : {"Frame1", "Frame2", "Frame3", "Label1", "Label2", "Label3", "Label4", "lblDay1_0",
                                 "lblDay2_34"}) {
            QVERIFY(paintsButtonFace(form.findChild<QWidget *>(name)));
        }
        for (const char *name : {"Combo1", "Text1", "txtNote1_0", "Picture1"})
            QVERIFY(!paintsButtonFace(form.findChild<QWidget *>(name)));
        QVERIFY(paintsButtonFace(&form));
        QVERIFY(m_messages->shown().isEmpty());
    }

    void realSkinEngineAppliesTheStyleSheet()
    {
        QTemporaryDir appFolder;
        useSkinFile(appFolder.path(), "QLineEdit { color: navy; }");
        Form1 form;
        form.Form_Load();
        QVERIFY(m_messages->shown().isEmpty());
        QCOMPARE(form.styleSheet(), QString("QLineEdit { color: navy; }"));
    }

    void failingSkinIsReportedAndStartUpGoesOn()
    {
        QTemporaryDir appFolder;
        useSkinFile(appFolder.path(), "");
        auto engine = std::make_unique<RecordingSkinEngine>();
        engine->failAt = "get 1";
        RecordingSkinEngine *skin = engine.get();
        Form1 form;
        form.setSkinEngine(std::move(engine));
        form.Form_Load();
        QCOMPARE(skin->calls.size(), 2); // the calls after the failure are skipped
        QCOMPARE(m_messages->shown().size(), 1);
        QCOMPARE(m_messages->shown().first().text,
                 "The skin engine refused.\r\nin TavorinPlanner2021/08/31.Form1.Form_Load at line 104" + ReportTail);
        QVERIFY(paintsButtonFace(form.panel1()));
        QCOMPARE(form.panel1()->monthText(), QString("August"));
        QCOMPARE(shownCells(form.panel1()), 31);
    }

    void unreadableStoreIsReportedAtEachStepThatReadsIt()
    {
        QTemporaryDir folder;
        const QString path = writeBrokenStore(folder.path());
        Settings::useStoreAt(path);
        Form1 form;
        form.Form_Load();
        QStringList lines;
        for (const ShownMessage &message : m_messages->shown()) {
            QVERIFY2(message.text.contains(path), qPrintable(message.text));
            if (message.title == "Application Error")
                lines << message.text.section("at line ", 1).left(3);
        }
        QCOMPARE(lines, QStringList({"140", "142", "144", "146"}));
        QVERIFY(!form.isRefreshing());
        QCOMPARE(form.panel1()->monthText(), QString("August"));
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
