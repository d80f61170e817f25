// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SafetyCopies.h"

#include "platform/Failure.h"
#include "settings/StoreDamaged.h"
#include "settings/StoreFile.h"
#include "settings/StoreFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace SafetyCopies {

namespace {

// Only copies up to today count: a copy dated later was made while the
// clock was wrong and says nothing of its age, so it neither pushes a genuine
// copy out nor is removed itself.
void removeOldCopies(const QString &storePath, const QDate &today)
{
    const QString newestKept = QFileInfo(copyPath(storePath, today)).fileName();
    QStringList copies = existingCopies(storePath);
    copies.removeIf([&newestKept](const QString &copy) { return QFileInfo(copy).fileName() > newestKept; });
    for (qsizetype i = 0; i + Kept < copies.size(); ++i)
        QFile::remove(copies.at(i));
}

} // namespace

QString copyPath(const QString &storePath, const QDate &day)
{
    return storePath + u'.' + day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".bak");
}

QStringList existingCopies(const QString &storePath)
{
    const QFileInfo store(storePath);
    const QString pattern = QRegularExpression::escape(store.fileName()) + QStringLiteral(R"(\.\d{4}-\d{2}-\d{2}\.bak)");
    const QRegularExpression name(QRegularExpression::anchoredPattern(pattern));
    QStringList copies;
    // ISO dates sort by name in date order.
    const QFileInfoList entries = store.dir().entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (name.match(entry.fileName()).hasMatch())
            copies << entry.filePath();
    }
    return copies;
}

bool makeDailyCopy(const QString &storePath, const QDate &today, QString *error, QString *damage)
{
    QString problem;
    try {
        if (!QFileInfo::exists(storePath))
            return true;
        // A folder that others could change is not written to, as the store in it is not used.
        StoreFolder::checkPrivate(storePath);
        StoreFolder::removeLeftovers(storePath);
        const QString target = copyPath(storePath, today);
        if (!QFileInfo(target).isFile()) {
            StoreFile store(storePath, StoreFile::Access::ReadOnly);
            // Reading the file through once needs hardly any cache; SQLite's
            // default of 2 MiB would add that much to the planner's memory.
            store.execute("PRAGMA cache_size = -256");
            // A damaged store is not copied, so that it never pushes the good copies out.
            store.checkTable();
            store.checkIntegrity();
            store.copyToNewFile(target);
        }
        removeOldCopies(storePath, today);
        return true;
    } catch (const StoreDamaged &damaged) {
        problem = damaged.description();
        if (damage)
            *damage = damaged.finding().isEmpty() ? damaged.description() : damaged.finding();
    } catch (const Failure &failure) {
        problem = failure.description();
    } catch (const std::exception &failure) {
        problem = QString::fromLocal8Bit(failure.what());
    } catch (...) {
        problem = QCoreApplication::translate("SafetyCopies", "Cannot make the safety copy of the notes store %1.").arg(storePath);
    }
    if (error)
        *error = problem;
    return false;
}

} // namespace SafetyCopies
