#include "DeviceTableTexts.h"

#include "tarsel/CTableView.h"

#include <QCoreApplication>
#include <QSet>

namespace {

const char* const kContext = "DeviceTableTexts";

// Every untranslated text a row may show in those columns.
const char* const kTexts[] = {
    // Logins.
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Logging in..."),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Login Successful"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Login Failed"),
    // Batches.
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set SyncTime Success"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set SyncTime Failed"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Reboot Success"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Reboot Failed"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "SimpleRecovery Success"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "SimpleRecovery Failed"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Full Recovery Success"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Full Recovery Failed"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set OSD Success"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set OSD Failed"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Get CpldData Failed!"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set Ten Zoom Success!"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Set Ten Zoom Failed!"),
    // The search's columns.
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Enable"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Disable"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Yes"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Open"),
    QT_TRANSLATE_NOOP("DeviceTableTexts", "Close"),
};

bool translatedColumn(int column) {
    return column == CTableView::ColStatus || column == CTableView::ColFullNetcom ||
           column == CTableView::ColNetcomFlag || column == CTableView::ColDhcp;
}

} // namespace

QString DeviceTableTexts::display(int column, const QString& text) {
    static const QSet<QString> known = [] {
        QSet<QString> texts;
        for (const char* text : kTexts)
            texts.insert(QString::fromLatin1(text));
        return texts;
    }();
    if (!translatedColumn(column) || !known.contains(text))
        return text;
    return QCoreApplication::translate(kContext, text.toLatin1().constData());
}
