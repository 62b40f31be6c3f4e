// The program's language: one translator for the stored language code.
#include "ozmlogic/OzmLogic.h"

#include "quillet/Quillet.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

namespace {

const char* const kSourceLanguage = "en_US";

} // namespace

bool OzmLogic::loadTranslation(const QString& code) {
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
    }
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
    Qx_Write_Log(600, "OzmLogic::loadTranslation", "language %s", code.toLatin1().constData());
    return true;
}
