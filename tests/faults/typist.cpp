// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the planner's window and types into a note box of panel 1, one key
// at a time as a user would, writing "typed N" to standard output after each
// keystroke has returned, so after its note has been stored. Message boxes are
// written out as "message <title>: <text>" and closed at once.
//
// usage: planner_typist <cell> <text>   types the text, writes "done", ends
//        planner_typist <cell>          reads commands from standard input:
//                                       "type <text>" (\n in text is Return),
//                                       answered by "done"; "quit" ends
// The crash test kills it at random moments and reads how far it got; the
// store tests use it to run the planner as another user.
// The store is the planner's own ($XDG_DATA_HOME/Quillmere/settings.sqlite3);
// the date is fixed to 15 August 2021, so panel 1 shows August 2021.

#include "FaultKit.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include "app/PlannerApplication.h"
#include "calendar/Controls.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

void report(const QByteArray &line)
{
    const QByteArray out = line + '\n';
    qsizetype written = 0;
    while (written < out.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, out.constData() + written, size_t(out.size() - written));
        if (n <= 0)
            return;
        written += n;
    }
}

// A message box would wait for a click: it is reported and closed at once.
class PrintingPresenter : public MessageBox::Presenter
{
public:
    void present(const QString &title, const QString &text, int) override
    {
        report("message " + title.toUtf8() + ": " + text.simplified().toUtf8());
    }
};

} // namespace

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2 && arguments.size() != 3) {
        std::fprintf(stderr, "usage: planner_typist <cell> [<text>]\n");
        return 2;
    }
    const int cell = arguments.at(1).toInt();

    TestEnvironment::useEnglishNames();
    FixedToday::set(QDate(2021, 8, 15));
    MessageBox::setPresenter(std::make_unique<PrintingPresenter>());

    Form1 window;
    window.Form_Load();
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        return 3;
    NoteBox *note = window.panel1()->noteBox(cell);
    FaultKit::giveFocus(note);
    QTest::keyClick(note, Qt::Key_End, Qt::ControlModifier); // typing goes on after what the note holds
    report("ready");
    int typed = 0;
    const auto type = [&](const QString &text) {
        for (QChar c : text) {
            FaultKit::typeText(note, QString(c));
            report("typed " + QByteArray::number(++typed));
        }
        report("done");
    };
    if (arguments.size() == 3) {
        type(arguments.at(2));
        return 0;
    }
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 3;
    while (true) {
        QByteArray raw = input.readLine();
        if (raw.endsWith('\n'))
            raw.chop(1);
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1String("type ")))
            type(line.mid(5).replace(QLatin1String("\\n"), QLatin1String("\n")));
        else
            return line == QLatin1String("quit") ? 0 : 4;
    }
}
