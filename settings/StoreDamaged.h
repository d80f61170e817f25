// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Failure.h"

// The failure of a store file that SQLite found damaged: a page it could not
// make sense of, or what its whole-file check reports. Besides the
// description, which names the file, it carries SQLite's finding alone.
class StoreDamaged : public Failure
{
public:
    StoreDamaged(QString description, QString finding)
        : Failure(std::move(description)), m_finding(std::move(finding))
    {
    }

    const QString &finding() const noexcept { return m_finding; }

private:
    QString m_finding;
};
