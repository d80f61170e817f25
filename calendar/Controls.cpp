// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/Controls.h"

#include "calendar/ColorNames.h"
#include "notes/TextMerge.h"
#include "platform/OleColor.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

#include <cmath>

namespace {

// The focus shows as a ring two pixels wide just inside the control's edge,
// drawn only while it has the focus.
constexpr int FocusRingWidth = 2;

void drawFocusRing(QPainter &painter, const QRect &area, const QColor &color)
{
    const qreal inset = FocusRingWidth / 2.0;
    painter.setPen(QPen(color, FocusRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area).adjusted(inset, inset, -inset, -inset));
}

// Black or white, whichever stands out more against color: one of the two
// always has a contrast of at least 4.5 to 1 with it.
QColor contrastingRingColor(const QColor &color)
{
    const auto linear = [](qreal channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const qreal luminance =
        0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
    const qreal againstBlack = (luminance + 0.05) / 0.05;
    const qreal againstWhite = 1.05 / (luminance + 0.05);
    return againstBlack >= againstWhite ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

Frame::Frame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
    setAutoFillBackground(true);
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect border = rect().adjusted(0, metrics.height() / 2, -2, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(border);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));

    const QRect captionRect(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(captionRect, palette().color(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter, title());
}

NoteBox::NoteBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, OleColor::toQColor(m_foreColor));
    setPalette(palette);
}

void NoteBox::setText(const QString &text)
{
    m_emptyingPending = false;
    m_storedText = text;
    if (text != toPlainText())
        setPlainText(text);
}

void NoteBox::followStore(const QString &stored)
{
    if (stored == m_storedText)
        return;
    const QString shown = text();
    const QString next = shown == m_storedText ? stored : TextMerge::merge(m_storedText, shown, stored).text;
    m_storedText = stored;
    replaceInPlace(next);
}

// The outside change is not one of the user's edits, so it leaves nothing to
// undo: undoing it would store it away again as if the user had typed that.
// A caret where text comes in stays before it, where the user was typing; a
// selection grows by none of it; one inside the replaced text goes to its end.
void NoteBox::replaceInPlace(const QString &text)
{
    m_emptyingPending = false;
    const QString current = toPlainText();
    if (current == text)
        return;
    qsizetype prefix = 0;
    const qsizetype shorter = qMin(current.size(), text.size());
    while (prefix < shorter && current[prefix] == text[prefix])
        ++prefix;
    if (prefix > 0 && current[prefix - 1].isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && current[current.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && current[current.size() - suffix].isLowSurrogate())
        --suffix;
    const int replacedEnd = int(current.size() - suffix);
    const int insertedEnd = int(text.size() - suffix);
    const auto moved = [&](int at, bool startOfSelection) {
        if (at < prefix || (at == prefix && !startOfSelection))
            return at;
        return at >= replacedEnd ? at + insertedEnd - replacedEnd : insertedEnd;
    };
    const QTextCursor before = textCursor();
    const bool selection = before.hasSelection();
    const int anchor = moved(before.anchor(), selection && before.anchor() < before.position());
    const int position = moved(before.position(), selection && before.position() < before.anchor());
    const int scroll = verticalScrollBar()->value();

    document()->setUndoRedoEnabled(false);
    QTextCursor edit(document());
    edit.setPosition(int(prefix));
    edit.setPosition(replacedEnd, QTextCursor::KeepAnchor);
    edit.insertText(text.mid(prefix, insertedEnd - prefix));
    document()->setUndoRedoEnabled(true);

    QTextCursor after = textCursor();
    after.setPosition(anchor);
    after.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(after);
    verticalScrollBar()->setValue(scroll);
}

void NoteBox::finishRefill()
{
    if (m_emptyingPending)
        setText(QString());
}

void NoteBox::setForeColor(qint32 color)
{
    if (color == m_foreColor)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, OleColor::toQColor(color));
    setPalette(palette);
    m_foreColor = color;
}

bool NoteBox::showsWholeNote() const
{
    return verticalScrollBar()->maximum() == 0;
}

// The ring is drawn over the text area, whose margin keeps it clear of the text.
void NoteBox::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(viewport());
    drawFocusRing(painter, viewport()->rect(), palette().color(QPalette::Highlight));
}

void NoteBox::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    viewport()->update();
}

void NoteBox::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    viewport()->update();
}

// The tooltip is made when it is asked for, so that it always shows the note
// as it is now, and does not stand as the box's description for screen
// readers, which read the whole note anyway. It shows the note as typed, never
// as markup, and no more of it than a screen holds.
bool NoteBox::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QPlainTextEdit::viewportEvent(event);
    if (showsWholeNote()) {
        QToolTip::hideText();
        return true;
    }
    constexpr int ToolTipLimit = 2000;
    QString note = text();
    if (note.size() > ToolTipLimit)
        note = note.left(ToolTipLimit) + QChar(0x2026);
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                       Qt::convertFromPlainText(note, Qt::WhiteSpaceNormal), viewport());
    return true;
}

DayCaption::DayCaption(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, OleColor::toQColor(OleColor::WindowBackground));
    palette.setColor(QPalette::WindowText, OleColor::toQColor(OleColor::WindowText));
    setPalette(palette);
    setAutoFillBackground(true);
}

ColorSwatch::ColorSwatch(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setBackColor(qint32 color)
{
    OleColor::toQColor(color); // refuses a value that names no colour before anything changes
    m_backColor = color;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, colorDescription());
        QAccessible::updateAccessibility(&changed);
    }
}

QString ColorSwatch::colorDescription() const
{
    return ColorNames::describe(OleColor::toQColor(m_backColor));
}

// The focus ring stands a little inside the edge, with the colour around it,
// in whichever of black and white stands out against the colour.
void ColorSwatch::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QColor color = OleColor::toQColor(m_backColor);
    painter.fillRect(contentsRect(), color);
    if (hasFocus())
        drawFocusRing(painter, contentsRect().adjusted(2, 2, -2, -2), contrastingRingColor(color));
    painter.end();
    QFrame::paintEvent(event);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ColorSwatch::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}
