// SPDX-License-Identifier: GPL-3.0-or-later
// One keystroke in a note box: the text, then the colour, each stored durably.

#include "Groups.h"
#include "StoreFill.h"

#include "notes/NoteKey.h"
#include "platform/DateNames.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int Rounds = 10;
constexpr int WarmUpPerRound = 5; // the first write after switching stores also opens it
constexpr int KeystrokesPerRound = 150;
// QSettings rewrites the whole file on every sync: bounded by time, not count.
constexpr int QSettingsMinimum = 5;
constexpr int QSettingsMaximum = 400;
constexpr qint64 QSettingsBudgetMs = 10000;

struct Keystroke
{
    QString textKey;
    QString text;
    QString colorKey;
    QString color;
};

// The i-th keystroke into the edited cell of the shown month: its note grows
// by one letter, and starts again after forty.
Keystroke keystroke(int i)
{
    const QString month = DateNames::fullMonthName(StoreFill::ShownDate.month());
    const QString year = QString::number(StoreFill::ShownDate.year());
    return {NoteKey::text(month, year, StoreFill::EditedCell),
            QStringLiteral("Dentist at ten, then lunch with Anna ") + QString(i % 40 + 1, u'x'),
            NoteKey::color(month, year, StoreFill::EditedCell), QStringLiteral("255")};
}

void storeKeystroke(const Keystroke &k)
{
    SaveSetting(Settings::Application, Settings::Section, k.textKey, k.text);
    SaveSetting(Settings::Application, Settings::Section, k.colorKey, k.color);
}

// The floor: a file on the same disk that each value is appended to and made durable.
class AppendFile
{
public:
    explicit AppendFile(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600))
    {
        if (m_fd < 0)
            throw std::runtime_error("cannot open the floor file");
    }
    ~AppendFile() { ::close(m_fd); }
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;

    void appendDurably(const QString &key, const QString &value)
    {
        const QByteArray bytes = key.toUtf8() + value.toUtf8();
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fdatasync(m_fd) != 0)
            throw std::runtime_error("cannot append to the floor file");
    }

private:
    int m_fd;
};

void floorKeystroke(AppendFile &file, const Keystroke &k)
{
    file.appendDurably(k.textKey, k.text);
    file.appendDurably(k.colorKey, k.color);
}

// Store and floor take turns keystroke by keystroke, so that both see the
// same state of the disk.
void measureStoreAndFloor(const QString &folder, const Stores &stores, Results &results)
{
    AppendFile floor(folder + QStringLiteral("/floor.bin"));
    int i = 0;
    for (int round = 0; round < Rounds; ++round) {
        for (const auto &[notes, path] : stores) {
            Settings::useStoreAt(path);
            for (int n = 0; n < WarmUpPerRound + KeystrokesPerRound; ++n, ++i) {
                const Keystroke k = keystroke(i);
                const double store = millisecondsOf([&] { storeKeystroke(k); });
                const double append = millisecondsOf([&] { floorKeystroke(floor, k); });
                if (n < WarmUpPerRound)
                    continue;
                results.storeKeystroke[notes].add(store);
                results.floorKeystroke[notes].add(append);
            }
        }
    }
}

// Keystrokes while the day's whole-file check and safety copy run on a thread
// of their own, as the planner runs them after its first paint, with the
// store file held until the check has passed: they wait only for the copy's
// read lock on the store, never for the whole check or copy.
void measureDuringSafetyCopy(const Stores &stores, Results &results)
{
    constexpr int MinimumKeystrokes = 20;
    for (const auto &[notes, path] : stores) {
        Settings::useStoreAt(path);
        storeKeystroke(keystroke(0)); // opens the store
        for (const QString &copy : SafetyCopies::existingCopies(path))
            QFile::remove(copy);
        Settings::store().holdFileUntilChecked();
        std::atomic<bool> copying{true};
        std::thread copier([&copying, path = path] {
            SafetyCopies::makeDailyCopy(path, StoreFill::ShownDate);
            copying = false;
        });
        Samples &samples = results.keystrokeDuringCopy[notes];
        for (int i = 1; copying || i <= MinimumKeystrokes; ++i) {
            const Keystroke k = keystroke(i);
            const double ms = millisecondsOf([&] { storeKeystroke(k); });
            if (copying || samples.count() == 0)
                samples.add(ms);
        }
        copier.join();
        Settings::store().fileCheckPassed();
    }
}

void measureQSettings(const QString &folder, int notes, Results &results)
{
    QSettings settings(QStringLiteral("%1/qsettings-%2.ini").arg(folder).arg(notes), QSettings::IniFormat);
    settings.beginGroup(Settings::Section);
    StoreFill::forEachEntry(notes, [&](const QString &key, const QString &value) { settings.setValue(key, value); });
    settings.sync();

    Samples &samples = results.qsettingsKeystroke[notes];
    QElapsedTimer budget;
    budget.start();
    for (int i = 0; samples.count() < QSettingsMaximum
                    && (samples.count() < QSettingsMinimum || budget.elapsed() < QSettingsBudgetMs);
         ++i) {
        const Keystroke k = keystroke(i);
        samples.add(millisecondsOf([&] {
            settings.setValue(k.textKey, k.text);
            settings.sync();
            settings.setValue(k.colorKey, k.color);
            settings.sync();
        }));
    }
    if (settings.status() != QSettings::NoError)
        throw std::runtime_error("QSettings could not write its file");
}

} // namespace

void measureWrites(const QString &folder, const Stores &stores, Results &results)
{
    measureStoreAndFloor(folder, stores, results);
    measureDuringSafetyCopy(stores, results);
    for (const auto &[notes, path] : stores)
        measureQSettings(folder, notes, results);
}
