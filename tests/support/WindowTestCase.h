// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FormHarness.h"
#include "support/TestEnvironment.h"

#include <QDate>
#include <QObject>
#include <memory>

// The common ground of the window tests: English names, a fixed date, no
// skin, a fresh private store and recorded message boxes for every test
// function, and a planner that starts the way the program starts it.
class WindowTestCase : public QObject
{
protected:
    // Call from init() and cleanup().
    void beginTest(const QDate &today = QDate(2021, 8, 15));
    void endTest();

    // Creates the window and runs its load; shown, it is also active.
    void startPlanner(bool shown = true);
    void stopPlanner() { m_form.reset(); }

    // Gives the widget the keyboard focus the way a click would.
    static void focus(QWidget *widget);

    // A file of bytes that is no store, in folder; its path.
    static QString writeBrokenStore(const QString &folder);

    std::unique_ptr<TestEnvironment::PrivateStore> m_store;
    std::unique_ptr<TestEnvironment::RecordedMessages> m_messages;
    std::unique_ptr<Form1> m_form;
};
