// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/Controls.h"
#include "calendar/WindowDesign.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

// One month panel: a frame with a month selector, a year box and 35 day cells,
// each a day caption above a note box. The window has two of them.
class MonthPanel : public Frame
{
    Q_OBJECT
public:
    // The names of the panel's controls, as tests and the accessibility tree see them.
    struct Names
    {
        QString frame;
        QString monthLabel;
        QString monthSelector;
        QString yearLabel;
        QString yearBox;
        QString dayCaptions; // members are named <dayCaptions>_<index>
        QString noteBoxes;   // members are named <noteBoxes>_<index>
    };

    // The caption is the design's, the same in every language; the spoken
    // caption is what screen readers say for it, in the user's language.
    MonthPanel(const Names &names, const QString &caption, const QString &spokenCaption, QWidget *parent = nullptr);

    QComboBox *monthSelector() const { return m_monthSelector; }
    QLineEdit *yearBox() const { return m_yearBox; }
    DayCaption *dayCaption(int cell) const { return m_dayCaptions.at(cell); }
    NoteBox *noteBox(int cell) const { return m_noteBoxes.at(cell); }

    // The texts that make up the panel's keys, exactly as shown.
    QString monthText() const;
    QString yearText() const;

    // The three parts of a refill, in the order the window runs them for both panels.
    void clearCells();
    void showDays();
    void loadNotes();
    // Empties the boxes that the refill did not load (it was cut short).
    void finishRefill();
    // Brings every note box in line with what another program stored, under
    // the month and year of the last refill (a year half typed does not count).
    // The focused box keeps the colour it took with the focus.
    void followStore(const NoteBox *focused);

private:
    void createTopLine(const Names &names, const QString &spokenCaption);
    void createCells(const Names &names);
    int daysShown() const;
    void loadColor(NoteBox *note, const QString &key);

    QLabel *m_monthLabel = nullptr;
    QComboBox *m_monthSelector = nullptr;
    QLabel *m_yearLabel = nullptr;
    QLineEdit *m_yearBox = nullptr;
    std::array<DayCaption *, WindowDesign::CellCount> m_dayCaptions{};
    std::array<NoteBox *, WindowDesign::CellCount> m_noteBoxes{};
    QString m_filledMonth; // the texts the last refill loaded the notes under
    QString m_filledYear;
};
