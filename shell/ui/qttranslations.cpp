// Qt's catalogues, one at a time.
#include "shell/ui/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zel {

bool useQtTranslations(UiLanguage language)
{
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (language == UiLanguage::English)
        return true;
    auto* translator = new QTranslator;
    const QLocale locale(language == UiLanguage::Ukrainian ? QLocale::Ukrainian : QLocale::Russian);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

} // namespace zel
