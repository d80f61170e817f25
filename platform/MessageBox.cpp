// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBox {

namespace {

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Line breaks as the box shows them: CR LF, and a lone CR, each start a line.
QString withLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

class QtPresenter : public Presenter
{
public:
    void present(const QString &title, const QString &text, int style) override
    {
        QMessageBox box(iconFor(style), title, withLineBreaks(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
};

std::unique_ptr<Presenter> &currentPresenter()
{
    static std::unique_ptr<Presenter> presenter = std::make_unique<QtPresenter>();
    return presenter;
}

} // namespace

void show(const QString &title, const QString &text, int style)
{
    currentPresenter()->present(title, text, style);
}

std::unique_ptr<Presenter> setPresenter(std::unique_ptr<Presenter> presenter)
{
    return std::exchange(currentPresenter(), std::move(presenter));
}

} // namespace MessageBox
