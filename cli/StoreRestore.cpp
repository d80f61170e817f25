#include "cli/StoreRestore.h"

#include "platform/Failure.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace StoreRestore {

namespace {

enum class StoreState { Missing, Ours, Foreign, Unreadable };

StoreState stateOf(const QString &storePath)
{
    if (!QFileInfo::exists(storePath))
        return StoreState::Missing;
    try {
        return StoreFile(storePath, StoreFile::Access::ReadOnly).hasSettingsTable() ? StoreState::Ours
                                                                                    : StoreState::Foreign;
    } catch (const Failure &) {
        return StoreState::Unreadable;
    }
}

bool isSameFile(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

QString keptCopyPath(const QString &storePath, const QDateTime &now)
{
    const QString base = storePath + QStringLiteral(".before-restore-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + u'-' + QString::number(n);
    return path;
}

// Keeps the store as it is now: a snapshot taken with the online backup, or,
// for a store too damaged to be read, its bytes.
QString keepFormerStore(const QString &storePath, const QDateTime &now)
{
    const QString kept = keptCopyPath(storePath, now);
    try {
        StoreFile(storePath, StoreFile::Access::ReadOnly).copyToNewFile(kept);
        return kept;
    } catch (const Failure &) {
    }
    if (!QFile::copy(storePath, kept))
        throw Failure(QCoreApplication::translate("StoreRestore", "Cannot keep the former notes store %1 as %2.").arg(storePath, kept));
    ::chmod(QFile::encodeName(kept).constData(), 0600);
    return kept;
}

// A store that SQLite cannot read is replaced whole; no planner can be using
// it, since it cannot open it either.
void replaceUnreadableStore(StoreFile &copy, const QString &storePath)
{
    // Its journal files belong to the old content and must not be applied to the new.
    QFile::remove(storePath + QStringLiteral("-wal"));
    QFile::remove(storePath + QStringLiteral("-shm"));
    copy.copyToNewFile(storePath);
}

// SQLite copies into a store in WAL mode only from one of the same page size;
// a copy made elsewhere with another one is rewritten to match first.
StoreFile withPageSize(StoreFile copy, int pageSize, const QTemporaryDir &scratch)
{
    if (copy.pageSize() == pageSize)
        return copy;
    const QString path = scratch.filePath(QStringLiteral("resized.sqlite3"));
    copy.copyToNewFile(path);
    StoreFile resized(path, StoreFile::Access::ReadWrite);
    resized.execute("PRAGMA journal_mode = DELETE");
    resized.execute(QStringLiteral("PRAGMA page_size = %1").arg(pageSize).toUtf8().constData());
    resized.execute("VACUUM");
    return resized;
}

} // namespace

QString restore(const QString &copyPath, const QString &storePath, const QDateTime &now,
                const StoreFile::Progress &progress)
{
    if (isSameFile(copyPath, storePath))
        throw Failure(QCoreApplication::translate("StoreRestore", "The file %1 is the notes store itself.").arg(copyPath));
    StoreFile copy(copyPath, StoreFile::Access::ReadOnly);
    copy.checkTable();
    copy.checkIntegrity();

    const StoreState state = stateOf(storePath);
    if (state == StoreState::Foreign) {
        throw Failure(QCoreApplication::translate("StoreRestore", "The file %1 is a database of another kind, not a notes store of Tavorin "
                                     "Planner; it was left unchanged.")
                          .arg(storePath));
    }
    if (state == StoreState::Missing) {
        // Made as the planner makes it: private folder and file, our table, WAL.
        SettingsStore(storePath).read(Settings::Application, Settings::Section, Settings::YearOfPanel1Key);
    }
    const QString kept = state == StoreState::Missing ? QString() : keepFormerStore(storePath, now);
    if (state == StoreState::Unreadable) {
        replaceUnreadableStore(copy, storePath);
        return kept;
    }
    StoreFile store(storePath, StoreFile::Access::ReadWrite);
    const QTemporaryDir scratch;
    StoreFile source = withPageSize(std::move(copy), store.pageSize(), scratch);
    source.copyInto(store, progress);
    return kept;
}

} // namespace StoreRestore
