// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar window's load sequence. It lives with the start-up procedures
// it calls, so that the window itself depends on nothing of the start of the
// program.
#include "calendar/Form1.h"

#include "app/ApplicationIcon.h"
#include "app/StartupProcedures.h"
#include "calendar/Controls.h"
#include "calendar/ErrorReport.h"
#include "calendar/MonthPanel.h"
#include "platform/ApplicationInfo.h"
#include "platform/DateNames.h"
#include "platform/Dispatch.h"
#include "platform/OleColor.h"
#include "platform/Today.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QScopeGuard>

void Form1::Form_Load()
{
    const QDate today = Today::date();
    // The start-up reads the store over four hundred times before the window shows.
    SettingsStore &store = Settings::store();
    store.beginReadBatch();
    const auto endReadBatch = qScopeGuard([&store] { store.endReadBatch(); });
    ErrorReport::runSteps(FormLoadLocation, {
        {102, [this] { setWindowTitle(ApplicationInfo::ProductName); }},
        {102, [this] { setWindowIcon(applicationIcon()); }},
        {102, [] { SetAppTitle(); }},
        {104, [this] { ApplySkin(*this, *SkinFramework1); }},
        {128, [this] { fillMonthLists(); }},
        {136, [this, today] { Frame1->monthSelector()->setCurrentIndex(today.month() - 1); }},
        {138, [this, today] { Frame2->monthSelector()->setCurrentIndex(today.month() % 12); }},
        {140, [this, today] {
             Frame1->yearBox()->setText(GetSetting(Settings::Application, Settings::Section,
                                                   Settings::YearOfPanel1Key, today.year()));
         }},
        {142, [this, today] {
             Frame2->yearBox()->setText(GetSetting(Settings::Application, Settings::Section,
                                                   Settings::YearOfPanel2Key, today.year()));
         }},
        {144, [this] {
             Picture1->setBackColor(OleColor::fromStoredText(
                 GetSetting(Settings::Application, Settings::Section, Settings::NoteColorKey, 0)));
         }},
        {146, [this] { RefreshCalendar(); }},
    });
}

// Appends the twelve month names to both lists. Appending selects nothing and
// notifies no one: the selections that follow are the first.
void Form1::fillMonthLists()
{
    const QSignalBlocker block1(Frame1->monthSelector());
    const QSignalBlocker block2(Frame2->monthSelector());
    for (int month = 1; month <= 12; ++month) {
        const QString name = DateNames::fullMonthName(month);
        ErrorReport::runSteps(FormLoadLocation, {
            {130, [this, &name] { Frame1->monthSelector()->addItem(name); }},
            {132, [this, &name] { Frame2->monthSelector()->addItem(name); }},
        });
    }
    Frame1->monthSelector()->setCurrentIndex(-1);
    Frame2->monthSelector()->setCurrentIndex(-1);
}
