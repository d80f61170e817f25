#include "app/PlannerStart.h"

#include "calendar/Form1.h"
#include "platform/Today.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QEvent>
#include <QTimer>

namespace {

// Makes the daily safety copy once the window has been painted for the first time.
class SafetyCopyAfterFirstPaint : public QObject
{
public:
    explicit SafetyCopyAfterFirstPaint(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                SafetyCopies::makeDailyCopy(Settings::store().path(), Today::date());
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void startPlanner(Form1 &window)
{
    window.Form_Load();
    new SafetyCopyAfterFirstPaint(&window);
    window.show();
}
