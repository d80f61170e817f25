// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>

class ColorSwatch;
class Dispatchable;
class CommonDialog;
class MonthPanel;
class Frame;
class NoteBox;
class StoreWatch;

// The calendar window: two month panels side by side and the note text colour
// strip along the bottom. Every change the user makes is stored at once.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    inline static const QString FormLoadLocation = QStringLiteral("in TavorinPlanner2021/08/31.Form1.Form_Load ");
    inline static const QString PictureClickLocation =
        QStringLiteral("in TavorinPlanner2021/08/31.Form1.Picture1_Click ");

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // The start-up: caption, icon, title, skin, month lists, restored inputs, first refill.
    // Defined with the start-up procedures in app/.
    void Form_Load();

    // Refills both panels from their month selectors and year boxes.
    void RefreshCalendar();
    bool isRefreshing() const { return Refreshing; }
    // Shows in both panels what another program stored, as a refill does,
    // but leaving the focus, the caret, the selection, the scroll position and
    // the month and year inputs as they are.
    void followStore();

    MonthPanel *panel1() const { return Frame1; }
    MonthPanel *panel2() const { return Frame2; }
    ColorSwatch *swatch() const { return Picture1; }
    CommonDialog &colorDialog() const { return *CommonDialog1; }
    // Replaces the skin engine (tests record its calls).
    void setSkinEngine(std::unique_ptr<Dispatchable> engine);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct PanelHandlers;

    void applyWindowDesign();
    void createControls();
    void chainTabOrder();
    void connectPanel(MonthPanel *panel, const PanelHandlers &handlers);
    void fillMonthLists();
    void centreOnScreen();

    void Combo1_Click();
    void Combo1_Change();
    void Combo2_Click();
    void Combo2_Change();
    void Text1_Change();
    void Text2_Change();
    void Text1_LostFocus();
    void Text2_LostFocus();
    void txtNote1_Change(qint16 index);
    void txtNote2_Change(qint16 index);
    void txtNote1_GotFocus(qint16 index);
    void txtNote2_GotFocus(qint16 index);
    void Picture1_Click();
    void Form_Unload();

    void storeYear(MonthPanel *panel, const QString &key);
    void checkYear(MonthPanel *panel);
    void storeNote(MonthPanel *panel, int index);
    void storeMerged(MonthPanel *panel, int index);
    void takeSwatchColor(MonthPanel *panel, int index);

    MonthPanel *Frame1 = nullptr;
    MonthPanel *Frame2 = nullptr;
    Frame *Frame3 = nullptr;
    ColorSwatch *Picture1 = nullptr;
    std::unique_ptr<CommonDialog> CommonDialog1;
    std::unique_ptr<Dispatchable> SkinFramework1;
    StoreWatch *m_storeWatch = nullptr;
    bool Refreshing = false;
};
