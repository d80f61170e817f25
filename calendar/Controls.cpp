// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/Controls.h"

#include "platform/OleColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

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
}

void ColorSwatch::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), OleColor::toQColor(m_backColor));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
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
