// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/Form1.h"

#include "calendar/AccessibleControls.h"
#include "calendar/Controls.h"
#include "calendar/ErrorReport.h"
#include "calendar/MonthPanel.h"
#include "calendar/WindowDesign.h"
#include "notes/NoteKey.h"
#include "notes/TextMerge.h"
#include "platform/CommonDialog.h"
#include "platform/FocusNotifier.h"
#include "platform/Numbers.h"
#include "platform/OleColor.h"
#include "platform/SkinFramework.h"
#include "platform/SystemColors.h"
#include "platform/Today.h"
#include "platform/UnhandledFailures.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreWatch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace {

const MonthPanel::Names Panel1Names{QStringLiteral("Frame1"), QStringLiteral("Label1"), QStringLiteral("Combo1"),
                                    QStringLiteral("Label2"), QStringLiteral("Text1"), QStringLiteral("lblDay1"),
                                    QStringLiteral("txtNote1")};
const MonthPanel::Names Panel2Names{QStringLiteral("Frame2"), QStringLiteral("Label4"), QStringLiteral("Combo2"),
                                    QStringLiteral("Label3"), QStringLiteral("Text2"), QStringLiteral("lblDay2"),
                                    QStringLiteral("txtNote2")};

QIcon blankDesignIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

// Runs an event handler so that no failure escapes into Qt's event loop. A
// handler that stored something ends a run of failures, and does so before a
// failure of its own later on is shown: the store worked again in between.
template<typename Handler>
auto guarded(Handler handler)
{
    return [handler](auto &&...) {
        UnhandledFailures::guard([&handler] {
            const quint64 savesBefore = Settings::completedSaves();
            const auto endRunOnSave = qScopeGuard([savesBefore] {
                if (Settings::completedSaves() != savesBefore)
                    UnhandledFailures::endRun();
            });
            handler();
        });
    };
}

} // namespace

struct Form1::PanelHandlers
{
    void (Form1::*monthClick)();
    void (Form1::*monthChange)();
    void (Form1::*yearChange)();
    void (Form1::*yearLostFocus)();
    void (Form1::*noteChange)(qint16);
    void (Form1::*noteGotFocus)(qint16);
};

Form1::Form1(QWidget *parent)
    : QWidget(parent),
      CommonDialog1(std::make_unique<CommonDialog>(this)),
      SkinFramework1(std::make_unique<SkinFramework>())
{
    installAccessibleControls();
    applyWindowDesign();
    createControls();
    connectPanel(Frame1, {&Form1::Combo1_Click, &Form1::Combo1_Change, &Form1::Text1_Change, &Form1::Text1_LostFocus,
                          &Form1::txtNote1_Change, &Form1::txtNote1_GotFocus});
    connectPanel(Frame2, {&Form1::Combo2_Click, &Form1::Combo2_Change, &Form1::Text2_Change, &Form1::Text2_LostFocus,
                          &Form1::txtNote2_Change, &Form1::txtNote2_GotFocus});
    connect(Picture1, &ColorSwatch::clicked, this, guarded([this] { Picture1_Click(); }));
    // Ctrl+Q closes the window as its close button does.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, &QWidget::close);
    chainTabOrder();
    centreOnScreen();
    // What another program stores shows at once, with no input here. The
    // watch starts once the load has opened the store, with the first event.
    m_storeWatch = new StoreWatch([]() -> SettingsStore & { return Settings::store(); }, this);
    connect(m_storeWatch, &StoreWatch::changed, this, guarded([this] { followStore(); }));
    QTimer::singleShot(0, m_storeWatch, &StoreWatch::start);
}

Form1::~Form1() = default;

void Form1::setSkinEngine(std::unique_ptr<Dispatchable> engine)
{
    SkinFramework1 = std::move(engine);
}

// The window as designed: fixed size with no maximise button, white, the
// window font that every control without its own uses, the blank icon. Every
// colour of the window is the design's, so that it reads the same under any
// theme: white with the light scheme's system colours, which every control
// takes unless it has colours of its own.
void Form1::applyWindowDesign()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowIcon(blankDesignIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font(QString::fromLatin1(WindowDesign::FontFamily));
    font.setPointSizeF(WindowDesign::WindowFontPoints);
    font.setBold(true);
    setFont(font);
    QPalette palette = SystemColors::palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(WindowDesign::toPixels(WindowDesign::ClientArea).size());
}

// The captions are part of the window's design and read the same in every
// language, so they are not translated; what screen readers say for them is,
// so that they speak one language.
void Form1::createControls()
{
    Frame1 = new MonthPanel(Panel1Names, QStringLiteral("Month 1"), tr("Month 1"), this);
    Frame1->setGeometry(WindowDesign::toPixels(WindowDesign::PanelFrame[0]));
    Frame2 = new MonthPanel(Panel2Names, QStringLiteral("Month 2"), tr("Month 2"), this);
    Frame2->setGeometry(WindowDesign::toPixels(WindowDesign::PanelFrame[1]));

    Frame3 = new Frame(QStringLiteral("Text Color"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setAccessibleName(tr("Text Color"));
    Frame3->setGeometry(WindowDesign::toPixels(WindowDesign::ColorFrame));
    Picture1 = new ColorSwatch(Frame3);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(tr("Note text colour"));
    Picture1->setAccessibleDescription(tr("Opens the colour dialog"));
    Picture1->setGeometry(WindowDesign::toPixels(WindowDesign::Swatch));
}

void Form1::connectPanel(MonthPanel *panel, const PanelHandlers &handlers)
{
    connect(panel->monthSelector(), &QComboBox::currentIndexChanged, this,
            guarded([this, handlers] { (this->*handlers.monthClick)(); }));
    connect(panel->monthSelector(), &QComboBox::editTextChanged, this,
            guarded([this, handlers] { (this->*handlers.monthChange)(); }));
    connect(panel->yearBox(), &QLineEdit::textChanged, this,
            guarded([this, handlers] { (this->*handlers.yearChange)(); }));
    connect(new FocusNotifier(panel->yearBox()), &FocusNotifier::lostFocus, this,
            guarded([this, handlers] { (this->*handlers.yearLostFocus)(); }));
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        const auto index = qint16(cell);
        NoteBox *note = panel->noteBox(cell);
        connect(note, &QPlainTextEdit::textChanged, this,
                guarded([this, handlers, index] { (this->*handlers.noteChange)(index); }));
        connect(new FocusNotifier(note), &FocusNotifier::gotFocus, this,
                guarded([this, handlers, index] { (this->*handlers.noteGotFocus)(index); }));
    }
}

// Panel 1 forwards from cell 0, panel 2 backwards to cell 0: Combo1, Text1,
// txtNote1 0..34, txtNote2 34..0, Text2, Combo2, Picture1. Qt passes over
// hidden boxes by itself.
void Form1::chainTabOrder()
{
    QList<QWidget *> chain{Frame1->monthSelector(), Frame1->yearBox()};
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell)
        chain << Frame1->noteBox(cell);
    for (int cell = WindowDesign::CellCount - 1; cell >= 0; --cell)
        chain << Frame2->noteBox(cell);
    chain << Frame2->yearBox() << Frame2->monthSelector() << Picture1;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    Frame1->monthSelector()->setFocus();
}

void Form1::centreOnScreen()
{
    if (const QScreen *screen = this->screen())
        move(WindowDesign::startPosition(size(), screen->availableGeometry()));
}

// Refreshing stays set exactly while the refill runs, and is cleared however
// it ends: left set, it would silently stop every later note from being stored.
void Form1::RefreshCalendar()
{
    Refreshing = true;
    const auto clear = qScopeGuard([this] {
        Frame1->finishRefill();
        Frame2->finishRefill();
        Refreshing = false;
    });
    Frame1->clearCells();
    Frame2->clearCells();
    Frame1->showDays();
    Frame2->showDays();
    Frame1->loadNotes();
    Frame2->loadNotes();
}

void Form1::Combo1_Click() { RefreshCalendar(); }
void Form1::Combo1_Change() { RefreshCalendar(); }
void Form1::Combo2_Click() { RefreshCalendar(); }
void Form1::Combo2_Change() { RefreshCalendar(); }

void Form1::Text1_Change() { storeYear(Frame1, Settings::YearOfPanel1Key); }
void Form1::Text2_Change() { storeYear(Frame2, Settings::YearOfPanel2Key); }

void Form1::Text1_LostFocus()
{
    checkYear(Frame1);
    RefreshCalendar();
}

void Form1::Text2_LostFocus()
{
    checkYear(Frame2);
    RefreshCalendar();
}

void Form1::storeYear(MonthPanel *panel, const QString &key)
{
    SaveSetting(Settings::Application, Settings::Section, key, panel->yearText());
}

// A year box that holds no number takes the current year (which its change
// handler stores at once).
void Form1::checkYear(MonthPanel *panel)
{
    if (!Numbers::isNumber(panel->yearText()))
        panel->yearBox()->setText(QString::number(Today::date().year()));
}

void Form1::txtNote1_Change(qint16 index) { storeNote(Frame1, index); }
void Form1::txtNote2_Change(qint16 index) { storeNote(Frame2, index); }
void Form1::txtNote1_GotFocus(qint16 index) { takeSwatchColor(Frame1, index); }
void Form1::txtNote2_GotFocus(qint16 index) { takeSwatchColor(Frame2, index); }

// Text first, then colour, under the month and year the panel shows now.
void Form1::storeNote(MonthPanel *panel, int index)
{
    if (Refreshing)
        return;
    if (Settings::store().changedElsewhere()) {
        storeMerged(panel, index);
        followStore();
        return;
    }
    NoteBox *note = panel->noteBox(index);
    SaveSetting(Settings::Application, Settings::Section,
                NoteKey::text(panel->monthText(), panel->yearText(), index), note->text());
    SaveSetting(Settings::Application, Settings::Section,
                NoteKey::color(panel->monthText(), panel->yearText(), index),
                OleColor::toStoredText(note->foreColor()));
    note->markStored(note->text());
}

// Another program changed the store since the window last looked (sync, a
// second planner, an import), perhaps this very note. The keystroke is merged
// with the note as stored now, as sync merges, the box's note as it showed it
// being the base: nothing typed on either side is lost, and only edits of the
// same words keep both versions. Read and write are one transaction, so no
// other write comes in between.
void Form1::storeMerged(MonthPanel *panel, int index)
{
    NoteBox *note = panel->noteBox(index);
    const QString textKey = NoteKey::text(panel->monthText(), panel->yearText(), index);
    const QString colorKey = NoteKey::color(panel->monthText(), panel->yearText(), index);
    QString merged = note->text();
    Settings::store().inTransaction([&] {
        const QString stored = GetSetting(Settings::Application, Settings::Section, textKey);
        if (stored != note->storedText())
            merged = TextMerge::merge(note->storedText(), note->text(), stored).text;
        SaveSetting(Settings::Application, Settings::Section, textKey, merged);
        SaveSetting(Settings::Application, Settings::Section, colorKey, OleColor::toStoredText(note->foreColor()));
    });
    note->markStored(merged);
    Refreshing = true;
    const auto clear = qScopeGuard([this] { Refreshing = false; });
    note->replaceInPlace(merged);
}

void Form1::followStore()
{
    Refreshing = true;
    Settings::store().beginReadBatch(); // one consistent look at the store
    const auto clear = qScopeGuard([this] {
        Settings::store().endReadBatch();
        Refreshing = false;
    });
    const auto *focused = qobject_cast<const NoteBox *>(QApplication::focusWidget());
    Frame1->followStore(focused);
    Frame2->followStore(focused);
}

void Form1::takeSwatchColor(MonthPanel *panel, int index)
{
    panel->noteBox(index)->setForeColor(Picture1->backColor());
}

// The dialog opens on the swatch colour, so a cancel stores the colour the user
// already has instead of replacing it with whatever the dialog last held.
void Form1::Picture1_Click()
{
    ErrorReport::runSteps(PictureClickLocation, {
        {102, [this] {
             CommonDialog1->setProperty(CommonDialog::Color, Picture1->backColor());
             CommonDialog1->invoke(CommonDialog::ShowColor, {});
         }},
        {104, [this] { Picture1->setBackColor(toInt32(CommonDialog1->getProperty(CommonDialog::Color))); }},
        {106, [this] {
             SaveSetting(Settings::Application, Settings::Section, Settings::NoteColorKey,
                         OleColor::toStoredText(Picture1->backColor()));
         }},
    });
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

// Everything was stored as it changed, so nothing is left to save.
void Form1::Form_Unload()
{
    QCoreApplication::exit(0);
}
