// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthPanel.h"

#include "calendar/Controls.h"
#include "notes/NoteKey.h"
#include "platform/DateNames.h"
#include "platform/Failure.h"
#include "platform/Numbers.h"
#include "platform/OleColor.h"
#include "platform/Today.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

namespace {

template<typename Control>
Control *place(Control *control, const QString &name, const WindowDesign::Twips &twips)
{
    control->setObjectName(name);
    control->setGeometry(WindowDesign::toPixels(twips));
    return control;
}

QLabel *designLabel(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setAutoFillBackground(true);
    return label;
}

// "01 Sun": the day in two digits and the first three letters of its weekday.
QString dayCaptionText(const QDate &date)
{
    return QStringLiteral("%1 %2").arg(date.day(), 2, 10, QLatin1Char('0')).arg(DateNames::fullWeekdayName(date).left(3));
}

// What a screen reader says for the note box of a day: the date in full,
// and that it is today's.
QString spokenDate(const QDate &date, const QDate &today)
{
    const QString written = DateNames::longDate(date);
    return date == today ? MonthPanel::tr("%1, today").arg(written) : written;
}

} // namespace

MonthPanel::MonthPanel(const Names &names, const QString &caption, const QString &spokenCaption, QWidget *parent)
    : Frame(caption, parent)
{
    setObjectName(names.frame);
    setAccessibleName(spokenCaption);
    createTopLine(names, spokenCaption);
    createCells(names);
}

// The labels belong to the window's design: the same in every language. What
// screen readers say for them is in the user's language, as everything they
// say is.
void MonthPanel::createTopLine(const Names &names, const QString &spokenCaption)
{
    m_monthLabel = place(designLabel(QStringLiteral("Month:"), this), names.monthLabel, WindowDesign::MonthLabel);
    m_monthSelector = place(new QComboBox(this), names.monthSelector, WindowDesign::MonthSelector);
    m_yearLabel = place(designLabel(QStringLiteral("Year:"), this), names.yearLabel, WindowDesign::YearLabel);
    m_yearBox = place(new QLineEdit(this), names.yearBox, WindowDesign::YearBox);
    m_yearBox->setMaxLength(std::numeric_limits<int>::max()); // nothing limits what may be typed
    m_monthLabel->setFocusPolicy(Qt::NoFocus);
    m_yearLabel->setFocusPolicy(Qt::NoFocus);
    m_monthLabel->setBuddy(m_monthSelector);
    m_yearLabel->setBuddy(m_yearBox);
    m_monthLabel->setAccessibleName(tr("Month:"));
    m_yearLabel->setAccessibleName(tr("Year:"));
    m_monthSelector->setAccessibleName(tr("Month, %1").arg(spokenCaption));
    m_yearBox->setAccessibleName(tr("Year, %1").arg(spokenCaption));
}

// Captions first, note boxes after: where a caption reaches into its note box,
// the note box lies on top.
void MonthPanel::createCells(const Names &names)
{
    QFont captionFont(QString::fromLatin1(WindowDesign::FontFamily));
    captionFont.setPointSizeF(WindowDesign::DayCaptionFontPoints);
    captionFont.setBold(true);
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        auto *caption = place(new DayCaption(this), names.dayCaptions + u'_' + QString::number(cell),
                              WindowDesign::dayCaption(cell));
        caption->setFont(captionFont);
        caption->setText(QStringLiteral("01 Mon"));
        m_dayCaptions[cell] = caption;
    }
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        m_noteBoxes[cell] = place(new NoteBox(this), names.noteBoxes + u'_' + QString::number(cell),
                                  WindowDesign::noteBox(cell));
    }
}

QString MonthPanel::monthText() const
{
    return m_monthSelector->currentText();
}

QString MonthPanel::yearText() const
{
    return m_yearBox->text();
}

void MonthPanel::clearCells()
{
    for (NoteBox *note : m_noteBoxes)
        note->emptyForRefill();
}

void MonthPanel::finishRefill()
{
    for (NoteBox *note : m_noteBoxes)
        note->finishRefill();
}

// Shows one cell for each day of the selected month of the year the year box
// names, and hides the others; no cell at all when no month is selected or
// the text names no year. A cell that stays shown is never hidden on the way,
// so a note box the user is clicking into keeps the focus. A shown note box
// is named with its date, a hidden one with nothing.
void MonthPanel::showDays()
{
    const int days = daysShown();
    const QDate firstDay = days > 0 ? QDate(*Numbers::yearOf(yearText()), m_monthSelector->currentIndex() + 1, 1)
                                    : QDate();
    const QDate today = Today::date();
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        if (cell < days) {
            const QDate day = firstDay.addDays(cell);
            m_dayCaptions[cell]->setText(dayCaptionText(day));
            m_noteBoxes[cell]->setAccessibleName(spokenDate(day, today));
        } else {
            m_noteBoxes[cell]->setAccessibleName(QString());
        }
        m_dayCaptions[cell]->setVisible(cell < days);
        m_noteBoxes[cell]->setVisible(cell < days);
    }
}

// The number of days of the selected month in the year the year box names:
// day after day up to the first that is no valid date.
int MonthPanel::daysShown() const
{
    const int month = m_monthSelector->currentIndex() + 1;
    const std::optional<int> year = Numbers::yearOf(yearText());
    if (!year)
        return 0;
    int days = 0;
    while (days < 31 && QDate::isValid(*year, month, days + 1))
        ++days;
    return days;
}

// Loads colour and text of every cell, hidden ones too.
void MonthPanel::loadNotes()
{
    m_filledMonth = monthText();
    m_filledYear = yearText();
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        NoteBox *note = m_noteBoxes[cell];
        loadColor(note, NoteKey::color(m_filledMonth, m_filledYear, cell));
        note->setText(GetSetting(Settings::Application, Settings::Section,
                                 NoteKey::text(m_filledMonth, m_filledYear, cell)));
    }
}

void MonthPanel::followStore(const NoteBox *focused)
{
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        NoteBox *note = m_noteBoxes[cell];
        if (note != focused)
            loadColor(note, NoteKey::color(m_filledMonth, m_filledYear, cell));
        note->followStore(GetSetting(Settings::Application, Settings::Section,
                                     NoteKey::text(m_filledMonth, m_filledYear, cell)));
    }
}

// A stored colour that names no colour gives black text: one damaged value
// must not hide the others.
void MonthPanel::loadColor(NoteBox *note, const QString &key)
{
    const QString storedColor = GetSetting(Settings::Application, Settings::Section, key, 0);
    try {
        note->setForeColor(OleColor::fromStoredText(storedColor));
    } catch (const Failure &) {
        note->setForeColor(0);
    }
}
