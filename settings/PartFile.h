// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file being written under a temporary name beside its final one
// ("<final>.part-XXXXXX", mode 0600), so that a copy cut short never passes
// for a good one. While the object lives it holds a lock on the file, which
// tells removeLeftovers() that the file is still being written; a process
// killed in the middle leaves an unlocked file, removed by the next run.
class PartFile
{
public:
    // Creates the file; throws a Failure naming finalPath when it cannot.
    explicit PartFile(const QString &finalPath);
    ~PartFile();
    PartFile(const PartFile &) = delete;
    PartFile &operator=(const PartFile &) = delete;

    const QString &path() const { return m_path; }
    // Renames the file to its final name and syncs the folder; throws on failure.
    void commit();

    // Removes the part files (and their journals) beside the files of the
    // folder whose names start with prefix, unless a PartFile still writes them.
    static void removeLeftovers(const QString &folder, const QString &prefix);

private:
    QString m_finalPath;
    QString m_path;
    int m_fd = -1;
    bool m_committed = false;
};
