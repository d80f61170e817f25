// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class NoteBox;
class QTextCursor;

// A note box as assistive technology sees it: an editable multi-line text
// whose text attributes carry the note's colour, so that notes written in
// different colours can be told apart without seeing them. Qt's own text
// interfaces report only colours set on parts of the text, and a note's
// colour belongs to the whole box.
class AccessibleNoteBox : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleNoteBox(NoteBox *note);

    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text kind, const QString &text) override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // The text.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // The caret and the selection.
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    int selectionCount() const override;
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;

    // Where the characters are on the screen.
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;

    // Changes, stored as the user's own.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    NoteBox *note() const;
    // A cursor on the note's text with the range selected, offsets kept within the text.
    QTextCursor range(int startOffset, int endOffset) const;
};
