// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NotesOutput.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

NotesOutput::NotesOutput(std::FILE *out)
    : m_out(out)
{
}

NotesOutput::~NotesOutput() = default;

void NotesOutput::redirectTo(const QString &path)
{
    if (path == QLatin1String("-"))
        return;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        m_file = std::make_unique<QFile>(path);
    else
        m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly))
        throw Failure(QCoreApplication::translate("NotesOutput", "Cannot write %1: %2.").arg(path, m_file->errorString()));
}

void NotesOutput::write(const QByteArray &bytes)
{
    if (m_file) {
        m_file->write(bytes); // a failure is kept by the file until it is finished
        return;
    }
    if (m_error == 0 && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out) != size_t(bytes.size()))
        m_error = errno;
}

void NotesOutput::finish()
{
    if (m_file) {
        const auto file = std::move(m_file);
        auto *saveFile = qobject_cast<QSaveFile *>(file.get());
        if (saveFile ? !saveFile->commit() : !file->flush())
            throw Failure(QCoreApplication::translate("NotesOutput", "Cannot write %1: %2.").arg(file->fileName(), file->errorString()));
        return;
    }
    if (m_error == 0 && std::fflush(m_out) != 0)
        m_error = errno;
    if (m_error != 0 || std::ferror(m_out)) {
        const int error = m_error != 0 ? m_error : EIO;
        m_error = 0;
        std::clearerr(m_out);
        throw Failure(QCoreApplication::translate("NotesOutput", "Cannot write to standard output: %1.")
                          .arg(QString::fromLocal8Bit(std::strerror(error))));
    }
}

void NotesOutput::discard()
{
    m_file.reset();
}
