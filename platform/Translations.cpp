// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Translations {

namespace {

void installCatalogue(const QString &name, const QString &folder)
{
    // Owned by the application, so it lives as long as texts are looked up.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void install(const QStringList &catalogues)
{
    installCatalogue(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (const QString &catalogue : catalogues)
        installCatalogue(catalogue, QStringLiteral(":/i18n"));
}

} // namespace Translations
