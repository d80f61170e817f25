// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

// A failure with a description meant for the user. The store and the platform
// stand-ins throw it; the error report and the handler of failures in event
// handlers show its description.
class Failure : public std::exception
{
public:
    explicit Failure(QString description)
        : m_description(std::move(description)), m_what(m_description.toUtf8())
    {
    }

    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_description;
    QByteArray m_what;
};

// The description of any failure caught at a boundary.
QString describeFailure(std::exception_ptr failure);
