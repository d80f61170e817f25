// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/AccessibleNoteBox.h"

#include "calendar/Controls.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

QString rgbText(const QColor &color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

} // namespace

AccessibleNoteBox::AccessibleNoteBox(NoteBox *note)
    : QAccessibleWidget(note, QAccessible::EditableText)
{
}

NoteBox *AccessibleNoteBox::note() const
{
    return static_cast<NoteBox *>(widget());
}

QTextCursor AccessibleNoteBox::range(int startOffset, int endOffset) const
{
    const int count = characterCount();
    QTextCursor cursor(note()->document());
    cursor.setPosition(qBound(0, startOffset, count));
    cursor.setPosition(qBound(0, endOffset < 0 ? count : endOffset, count), QTextCursor::KeepAnchor);
    return cursor;
}

// The name is the one the window gives, or none: Qt would otherwise fall
// back on the panel's design caption, in English whatever the language.
QString AccessibleNoteBox::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return note()->toPlainText();
    if (kind == QAccessible::Name)
        return note()->accessibleName();
    return QAccessibleWidget::text(kind);
}

void AccessibleNoteBox::setText(QAccessible::Text kind, const QString &text)
{
    if (kind == QAccessible::Value)
        replaceText(0, characterCount(), text);
    else
        QAccessibleWidget::setText(kind, text);
}

QAccessible::State AccessibleNoteBox::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void *AccessibleNoteBox::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleNoteBox::text(int startOffset, int endOffset) const
{
    return range(startOffset, endOffset).selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

int AccessibleNoteBox::characterCount() const
{
    return note()->document()->characterCount() - 1; // without the end of the last paragraph
}

// The whole note is one run in the box's font and colour. An offset of -1
// asks for the end of the text and -2 for the caret (IAccessible2).
QString AccessibleNoteBox::attributes(int offset, int *startOffset, int *endOffset) const
{
    const int count = characterCount();
    if (offset == -2)
        offset = cursorPosition();
    if (offset == -1)
        offset = count;
    if (offset < 0 || offset > count) {
        *startOffset = *endOffset = -1;
        return {};
    }
    *startOffset = 0;
    *endOffset = count;
    const QFont font = note()->font();
    const QPalette palette = note()->palette();
    return QStringLiteral("background-color:%1;color:%2;font-family:\"%3\";font-size:%4pt;font-style:%5;"
                          "font-weight:%6;text-align:left;")
        .arg(rgbText(palette.color(QPalette::Base)), rgbText(palette.color(QPalette::Text)), font.family())
        .arg(font.pointSizeF())
        .arg(font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"),
             font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"));
}

int AccessibleNoteBox::cursorPosition() const
{
    return note()->textCursor().position();
}

void AccessibleNoteBox::setCursorPosition(int position)
{
    note()->setTextCursor(range(position, position));
}

int AccessibleNoteBox::selectionCount() const
{
    return note()->textCursor().hasSelection() ? 1 : 0;
}

void AccessibleNoteBox::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = note()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection()) {
        *startOffset = *endOffset = 0;
        return;
    }
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

void AccessibleNoteBox::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleNoteBox::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        setCursorPosition(cursorPosition());
}

void AccessibleNoteBox::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        note()->setTextCursor(range(startOffset, endOffset));
}

QRect AccessibleNoteBox::characterRect(int offset) const
{
    if (offset < 0 || offset >= characterCount())
        return {};
    const QRect caret = note()->cursorRect(range(offset, offset));
    const int width = note()->fontMetrics().horizontalAdvance(text(offset, offset + 1));
    return QRect(note()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
}

int AccessibleNoteBox::offsetAtPoint(const QPoint &point) const
{
    const QPoint inside = note()->viewport()->mapFromGlobal(point);
    if (!note()->viewport()->rect().contains(inside))
        return -1;
    return note()->cursorForPosition(inside).position();
}

// The box has no scroll bars; it scrolls with the caret, which stays where
// the user left it.
void AccessibleNoteBox::scrollToSubstring(int, int)
{
}

void AccessibleNoteBox::deleteText(int startOffset, int endOffset)
{
    range(startOffset, endOffset).removeSelectedText();
}

void AccessibleNoteBox::insertText(int offset, const QString &text)
{
    range(offset, offset).insertText(text);
}

void AccessibleNoteBox::replaceText(int startOffset, int endOffset, const QString &text)
{
    range(startOffset, endOffset).insertText(text);
}
