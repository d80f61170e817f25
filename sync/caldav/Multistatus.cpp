// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/Multistatus.h"

#include "sync/Collection.h"
#include "sync/caldav/ServerMessage.h"

#include <QCoreApplication>
#include <QUrl>
#include <QXmlStreamReader>

#include <utility>

namespace {

int statusOf(const QString &statusLine)
{
    return statusLine.section(u' ', 1, 1).toInt();
}

QString decodedHref(const QString &href)
{
    return QUrl(href.trimmed()).path(QUrl::FullyDecoded);
}

} // namespace

Multistatus Multistatus::parse(const QByteArray &body, const QString &server)
{
    Multistatus result;
    QXmlStreamReader xml(body);
    bool root = true;
    Response response;
    Response propstat; // the properties of one propstat, kept when its status is 200
    int propstatStatus = 0;
    QString property;
    bool inPropstat = false, inProp = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (std::exchange(root, false) && name != u"multistatus")
                xml.raiseError(QCoreApplication::translate("CalDavClient", "it is no multistatus but %1").arg(name.left(40)));
            else if (inProp && property.isEmpty()) {
                property = name;
                propstat.text.insert(property, QString());
            } else if (inProp && name == u"href") {
                propstat.hrefs[property] << decodedHref(xml.readElementText());
            } else if (inProp) {
                const QString attribute = xml.attributes().value(QStringLiteral("name")).toString();
                propstat.children[property] << (attribute.isEmpty() ? name : attribute);
            } else if (name == u"response") {
                response = Response();
            } else if (name == u"propstat") {
                inPropstat = true;
                propstat = Response();
                propstatStatus = 0;
            } else if (name == u"prop") {
                inProp = true;
            } else if (name == u"href") {
                response.href = decodedHref(xml.readElementText());
            } else if (name == u"status") {
                (inPropstat ? propstatStatus : response.status) = statusOf(xml.readElementText());
            } else if (name == u"sync-token") {
                result.syncToken = xml.readElementText().trimmed();
            }
        } else if (xml.isCharacters() && !property.isEmpty()) {
            propstat.text[property] += xml.text();
        } else if (xml.isEndElement()) {
            const QString name = xml.name().toString();
            if (inProp && name == property) {
                property.clear();
            } else if (inProp && property.isEmpty() && name == u"prop") {
                inProp = false;
            } else if (name == u"propstat") {
                inPropstat = false;
                if (propstatStatus == 200) {
                    response.text.insert(propstat.text);
                    response.hrefs.insert(propstat.hrefs);
                    response.children.insert(propstat.children);
                }
            } else if (name == u"response") {
                result.responses << response;
            }
        }
    }
    if (!xml.hasError() && root)
        xml.raiseError(QCoreApplication::translate("CalDavClient", "it is empty"));
    if (xml.hasError())
        throw SyncFailure{SyncFailure::Server, QCoreApplication::translate("CalDavClient", "The server %1 sent a broken answer "
                                                                           "(line %2): %3.")
                                                   .arg(server).arg(xml.lineNumber()).arg(ServerMessage::oneLine(xml.errorString(), 200))};
    return result;
}
