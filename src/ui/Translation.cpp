#include "ui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace zavio {

bool InstallJapaneseTranslation()
{
    static bool installed = false;
    if (installed) return true;
    // Dates and sizes in the file dialog, paper names in the print dialogs.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // Qt's own catalogue matches the Qt the program runs with; the copy
    // installed beside the program serves where the system has none.
    const QString folders[] = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
            QCoreApplication::installTranslator(translator.release());
            installed = true;
            return true;
        }
    }
    return false;
}

}  // namespace zavio
