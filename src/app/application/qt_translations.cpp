#include "app/application/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace vistello::app {

bool installQtChineseTranslations(QCoreApplication& application) {
    auto translator = std::make_unique<QTranslator>(&application);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace vistello::app
