// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

// The calendar window's own kinds of control.

// A captioned frame: a thin etched border with its caption standing on the top
// line, over a background that the skin can change.
class Frame : public QGroupBox
{
    Q_OBJECT
public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A day's multi-line note box: word-wrapped, no scroll bars, no length limit;
// Tab moves the focus on. Its text colour is a colour value (0x00BBGGRR).
class NoteBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit NoteBox(QWidget *parent = nullptr);

    QString text() const { return m_emptyingPending ? QString() : toPlainText(); }
    // Sets the text unless the box already holds it: an unchanged box needs no new layout.
    void setText(const QString &text);

    // The note as the store holds it, as far as this box knows: the text it
    // was last filled with or that the window last stored from it.
    const QString &storedText() const { return m_storedText; }
    void markStored(const QString &text) { m_storedText = text; }

    // Another program stored the note anew: the box shows it, with an edit
    // not yet stored merged in. Only the part that differs is replaced, so the
    // caret, the selection and the scroll position stay with the text around them.
    void followStore(const QString &stored);
    // Shows text in place of the box's own in the same way.
    void replaceInPlace(const QString &text);

    // A refill empties every box and then loads it. The emptying waits until
    // the box is loaded or the refill ends, so that a box whose note does not
    // change is not laid out at all, and one that does only once.
    void emptyForRefill() { m_emptyingPending = true; }
    void finishRefill();

    qint32 foreColor() const { return m_foreColor; }
    void setForeColor(qint32 color); // a failure for a value that names no colour

    // Whether the whole note is in view; a note that is not shows itself
    // whole in the box's tooltip.
    bool showsWholeNote() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    qint32 m_foreColor = 0;
    bool m_emptyingPending = false;
    QString m_storedText;
};

// A day's caption, such as "01 Sun": flat, thin single border, centred.
class DayCaption : public QLabel
{
    Q_OBJECT
public:
    explicit DayCaption(QWidget *parent = nullptr);
};

// The note text colour swatch: shows its colour and is clicked with the mouse,
// or with Space or Return when it has the focus. Screen readers know it as a
// button whose value is its colour.
class ColorSwatch : public QFrame
{
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);

    qint32 backColor() const { return m_backColor; }
    void setBackColor(qint32 color); // a failure for a value that names no colour

    // The colour in words, as a screen reader says it: "red, #FF0000".
    QString colorDescription() const;

    // What a click does; also the press of assistive technology.
    void press() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint32 m_backColor = 0;
};
