// Types a text into a note box of the planner's window, one key at a time, as
// a user would, and writes "typed N" to standard output after each keystroke
// has returned, so after its note has been stored. The crash test kills it at
// random moments and reads how far it got.
//
// usage: planner_typist <cell of panel 1> <text>
// The store is the planner's own ($XDG_DATA_HOME/Quillmere/settings.sqlite3);
// the date is fixed to 15 August 2021, so panel 1 shows August 2021.

#include "FaultKit.h"
#include "support/TestEnvironment.h"

#include "app/PlannerApplication.h"
#include "calendar/Controls.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "platform/MessageBox.h"
#include "platform/Today.h"

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
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: planner_typist <cell> <text>\n");
        return 2;
    }
    const int cell = arguments.at(1).toInt();
    const QString text = arguments.at(2);

    TestEnvironment::useEnglishNames();
    Today::setFixedDateForTesting(QDate(2021, 8, 15));
    MessageBox::setPresenter(std::make_unique<PrintingPresenter>());

    Form1 window;
    window.Form_Load();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 3;
    NoteBox *note = window.panel1()->noteBox(cell);
    FaultKit::giveFocus(note);
    report("ready");
    for (qsizetype i = 0; i < text.size(); ++i) {
        FaultKit::typeText(note, text.mid(i, 1));
        report("typed " + QByteArray::number(i + 1));
    }
    report("done");
    return 0;
}
