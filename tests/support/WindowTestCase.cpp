// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestCase.h"

#include "support/TestSeams.h"


#include <QDir>
#include <QFile>
#include <QTest>

void WindowTestCase::beginTest(const QDate &today)
{
    TestEnvironment::useEnglishNames();
    FixedToday::set(today);
    TestApplicationFolder::set(QDir::tempPath() + QStringLiteral("/tavorin-no-skin-here"));
    m_store = std::make_unique<TestEnvironment::PrivateStore>();
    m_messages = std::make_unique<TestEnvironment::RecordedMessages>();
}

void WindowTestCase::endTest()
{
    m_form.reset();
    m_messages.reset();
    m_store.reset();
    TestApplicationFolder::clear();
}

void WindowTestCase::startPlanner(bool shown)
{
    m_form = std::make_unique<Form1>();
    m_form->Form_Load();
    if (shown) {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    m_store->clearWrites();
}

void WindowTestCase::focus(QWidget *widget)
{
    widget->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(widget->hasFocus());
}

QString WindowTestCase::writeBrokenStore(const QString &folder)
{
    const QString path = folder + QStringLiteral("/broken.sqlite3");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(4096, 'z'));
    return path;
}
