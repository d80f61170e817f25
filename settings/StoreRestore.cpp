// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreRestore.h"

#include "platform/Failure.h"
#include "settings/PartFile.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFolder.h"
#include "settings/StoreUseLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <sys/stat.h>

namespace StoreRestore {

namespace {

enum class StoreState { Missing, Ours, Foreign, Unreadable };

// Busy is not unreadable: a store that another program holds locked is
// readable once it lets go, and must not be replaced as if it were damaged.
StoreState stateOf(const QString &storePath, int *notes)
{
    if (!QFileInfo::exists(storePath))
        return StoreState::Missing;
    try {
        StoreFile store(storePath, StoreFile::Access::ReadOnly);
        if (!store.hasSettingsTable())
            return StoreState::Foreign;
        *notes = store.noteCount();
        return StoreState::Ours;
    } catch (const StoreBusy &busy) {
        throw Failure(QCoreApplication::translate("StoreRestore", "%1 Another program holds the store locked; nothing was changed.")
                          .arg(busy.description()));
    } catch (const Failure &) {
        return StoreState::Unreadable;
    }
}

const QString KeptCopyInfix = QStringLiteral(".before-restore-");

QString keptCopyPath(const QString &storePath, const QDateTime &now, const QString &infix = KeptCopyInfix)
{
    const QString base = storePath + infix + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + u'-' + QString::number(n);
    return path;
}

// Keeps the store as it is now, as a snapshot taken with the online backup
// that is read back before anything is replaced.
QString keepFormerStore(const QString &storePath, const QDateTime &now, int notes, const QString &infix = KeptCopyInfix)
{
    const QString kept = keptCopyPath(storePath, now, infix);
    try {
        StoreFile(storePath, StoreFile::Access::ReadOnly).copyToNewFile(kept);
        StoreFile check(kept, StoreFile::Access::ReadOnly);
        check.checkIntegrity();
        if (check.noteCount() != notes)
            throw Failure(QCoreApplication::translate("StoreRestore", "The copy %1 of the notes store differs from it.").arg(kept));
    } catch (const Failure &failure) {
        QFile::remove(kept);
        throw Failure(QCoreApplication::translate("StoreRestore", "Cannot keep the former notes store: %1 Nothing was changed.")
                          .arg(failure.description()));
    }
    return kept;
}

// A store that SQLite cannot read is kept as its bytes, with its -wal file
// moved beside that copy (never deleted: it may hold the latest notes, and
// it must not be applied to the new content). No planner can be using the
// store, since it cannot read it either.
QString keepUnreadableStore(const QString &storePath, const QDateTime &now)
{
    const QString kept = keptCopyPath(storePath, now);
    if (!QFile::copy(storePath, kept))
        throw Failure(QCoreApplication::translate("StoreRestore", "Cannot keep the former notes store %1 as %2.").arg(storePath, kept));
    ::chmod(QFile::encodeName(kept).constData(), 0600);
    const QString wal = storePath + QStringLiteral("-wal");
    if (QFileInfo::exists(wal)
        && std::rename(QFile::encodeName(wal).constData(), QFile::encodeName(kept + QStringLiteral("-wal")).constData()) != 0)
        throw Failure(QCoreApplication::translate("StoreRestore", "Cannot move %1 beside the kept copy %2.").arg(wal, kept));
    QFile::remove(storePath + QStringLiteral("-shm"));
    return kept;
}

// Removes all but the newest kept former stores, ordered by their stamp and
// then the number that follows a second copy of the same second.
void removeOldFormerStores(const QString &storePath, const QString &infix = KeptCopyInfix)
{
    const QFileInfo store(storePath);
    const QRegularExpression name(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(store.fileName() + infix) + QStringLiteral(R"((\d{8}-\d{6})(?:-(\d+))?)")));
    QList<std::tuple<QString, int, QString>> kept; // (stamp, number, file name)
    const QStringList entries = store.dir().entryList(QDir::Files);
    for (const QString &entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (match.hasMatch())
            kept.append({match.captured(1), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(), entry});
    }
    std::sort(kept.begin(), kept.end());
    for (qsizetype i = 0; i + KeptFormerStores < kept.size(); ++i) {
        const QString path = store.dir().filePath(std::get<2>(kept.at(i)));
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
    }
}

// Checks the copy: sound, and nothing in it but what the planner makes. A
// trigger or a view would otherwise come along and act on the planner's writes.
void checkCopy(StoreFile &copy)
{
    copy.checkTable();
    copy.checkIntegrity();
    if (!copy.hasOnlyOwnSchema()) {
        throw Failure(QCoreApplication::translate("StoreRestore", "The file %1 holds tables, indexes, views or triggers that Tavorin Planner "
                                     "does not make; it is not restored.")
                          .arg(copy.path()));
    }
}

void checkNoteCounts(const QString &copyPath, int copyNotes, int storeNotes)
{
    if (copyNotes > 0 && copyNotes * 2 >= storeNotes)
        return;
    throw Failure(QCoreApplication::translate("StoreRestore", "%1 holds %2 notes, the store holds %3; nothing was changed. Use --force to "
                                 "restore it all the same.")
                      .arg(copyPath)
                      .arg(copyNotes)
                      .arg(storeNotes));
}

} // namespace

QString keepCopy(const QString &storePath, const QDateTime &now, const QString &infix)
{
    int notes = 0;
    if (stateOf(storePath, &notes) != StoreState::Ours)
        return QString();
    const QString kept = keepFormerStore(storePath, now, notes, infix);
    removeOldFormerStores(storePath, infix);
    return kept;
}

QString restore(const QString &copyPath, const QString &storePath, const QDateTime &now, bool force,
                const StoreFile::Progress &progress, const std::function<void()> &beforeChange)
{
    StoreFolder::removeLeftovers(storePath);
    if (StoreFolder::isStoreOrJournal(storePath, copyPath))
        throw Failure(QCoreApplication::translate("StoreRestore", "The file %1 is the notes store itself.").arg(copyPath));
    StoreFile copy(copyPath, StoreFile::Access::ReadOnly);
    checkCopy(copy);

    const StoreUseLock lock(storePath, StoreUseLock::Use::Restore);
    if (!lock.isHeld() && !force) {
        throw Failure(QCoreApplication::translate("StoreRestore", "A running planner has the notes store %1 open and would store what it "
                                     "shows over the restored notes. Close it first, or use --force.")
                          .arg(storePath));
    }
    int storeNotes = 0;
    const StoreState state = stateOf(storePath, &storeNotes);
    if (state == StoreState::Foreign) {
        throw Failure(QCoreApplication::translate("StoreRestore", "The file %1 is a database of another kind, not a notes store of Tavorin "
                                     "Planner; it was left unchanged.")
                          .arg(storePath));
    }
    if (!force)
        checkNoteCounts(copyPath, copy.noteCount(), storeNotes);
    if (state != StoreState::Unreadable)
        StoreFolder::checkPrivate(storePath);
    if (beforeChange)
        beforeChange();
    if (state == StoreState::Missing) {
        // Made as the planner makes it: private folder and file, our table, WAL.
        SettingsStore(storePath).read(Settings::Application, Settings::Section, Settings::YearOfPanel1Key);
    }

    QString kept;
    if (state == StoreState::Ours)
        kept = keepFormerStore(storePath, now, storeNotes);
    else if (state == StoreState::Unreadable)
        kept = keepUnreadableStore(storePath, now);

    // The copy's rows in a schema of our own, made in the store's folder
    // with the store's page size (SQLite copies into a WAL store only from that).
    PartFile fresh(storePath + QStringLiteral(".restore"));
    {
        StoreFile source(fresh.path(), StoreFile::Access::ReadWrite);
        if (state == StoreState::Unreadable) {
            source.execute(SettingsStore::CreateTableSql);
            copy.copyRowsInto(source);
            source.copyToNewFile(storePath);
        } else {
            StoreFile store(storePath, StoreFile::Access::ReadWrite);
            source.execute(QStringLiteral("PRAGMA page_size = %1").arg(store.pageSize()).toUtf8().constData());
            source.execute(SettingsStore::CreateTableSql);
            copy.copyRowsInto(source);
            source.copyInto(store, progress);
        }
    }
    removeOldFormerStores(storePath);
    return kept;
}

} // namespace StoreRestore
