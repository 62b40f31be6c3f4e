// The program's language: one translator for the stored language code.
#include "ozmlogic/OzmLogic.h"

#include "quillet/Quillet.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const char* const kSourceLanguage = "en_US";

} // namespace

namespace {

void removeTranslator(QPointer<QTranslator>& translator) {
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

void OzmLogic::loadQtTranslation(const QString& code) {
    // Qt's own texts (standard buttons, the file dialog) from the system's Qt translations.
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_") + code, folder) ||
        !QCoreApplication::installTranslator(translator)) {
        Qx_Write_Log(300, "OzmLogic::loadTranslation", "no Qt translation for %s in %s",
                     code.toLatin1().constData(), QFile::encodeName(folder).constData());
        delete translator;
        return;
    }
    m_qtTranslator = translator;
}

bool OzmLogic::loadTranslation(const QString& code) {
    removeTranslator(m_translator);
    removeTranslator(m_qtTranslator);
    if (code.isEmpty() || code == QLatin1String(kSourceLanguage))
        return true;
    // The exact file only: QTranslator would otherwise try shortened names ("corvane_zh", ...).
    const QString path = QCoreApplication::applicationDirPath() + "/translations/corvane_" + code + ".qm";
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!QFileInfo(path).isFile() || !translator->load(path) ||
        !QCoreApplication::installTranslator(translator)) {
        Qx_Write_Log(300, "OzmLogic::loadTranslation", "no translation %s",
                     QFile::encodeName(path).constData());
        delete translator;
        return false;
    }
    m_translator = translator;
    loadQtTranslation(code);
    Qx_Write_Log(600, "OzmLogic::loadTranslation", "language %s", code.toLatin1().constData());
    return true;
}
