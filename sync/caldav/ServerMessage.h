// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What a server says about a failed request, for the user: the status with
// the server's own words from the body, so that its reason shows (Cyrus's
// "supported-calendar-component", a size limit's "Request Entity Too
// Large"). The body is untrusted: only a short, plain line of it is kept.
namespace ServerMessage {

// Untrusted text on one plain line for a message: no control or format
// characters (nothing a terminal would act on), blanks run together, at most
// maxChars characters (then "…").
QString oneLine(const QString &text, qsizetype maxChars);

// "HTTP 413: Request Entity Too Large", or "HTTP 413" when the body says nothing.
QString describe(int status, const QByteArray &body);

// The body's words on one line, at most a few hundred characters: of a WebDAV
// error element, the names of the conditions it holds and their text; of an
// HTML page, its text without the markup; else the text itself.
QString wordsOf(const QByteArray &body);

} // namespace ServerMessage
