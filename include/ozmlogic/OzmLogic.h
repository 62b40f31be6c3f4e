// Client framework: start-up, shut-down, sizing and fonts at design scale, tip notices.
#pragma once

#include <QPointer>
#include <QSize>
#include <QString>

class QApplication;
class QTranslator;
class QWidget;

class OzmLogic {
public:
    static OzmLogic* instance();

    // Starts the framework: checks the application object and makes sure the configuration
    // folder (CORVANE_CONFIG_DIR, or the user's configuration folder) exists and is writable;
    // sets the application's base font (sans serif, 12 px). False when the framework cannot run.
    bool init(QApplication* app);
    // Shuts the framework down; safe to call any number of times.
    void unInit();
    bool isInitialized() const;

    // Installs the program's translation for a language code from "translations/corvane_<code>.qm"
    // in the program's folder, replacing an earlier one; "en_US", the source language, installs
    // none. False when the file is missing or unreadable (the texts stay English). Qt's own
    // translation for the code (qtbase_<code>.qm of the system's Qt) is installed beside it when
    // present. init() applies the stored code.
    bool loadTranslation(const QString& code);

    // The folder that holds the framework's persistent files.
    static QString configDir();

    // Fonts.
    static void setMyFontRegular(QWidget* widget);
    static void setMyFontNormal(QWidget* widget);

    // Sizes in design pixels; the display scale is 1, so they are applied as given.
    static void setMyFixedSize(QWidget* widget, const QSize& size);
    static void setMyFixedSize(QWidget* widget, int width, int height);
    static void setMyFixedWidth(QWidget* widget, int width);
    static void setMyFixedHeight(QWidget* widget, int height);
    static int getMyHeight(int height);
    static int getMyWidth(int width);

    // Makes widget a notice that shows text whenever the widget is shown.
    static void tipNotify(QWidget* widget, const QString& text);

    OzmLogic(const OzmLogic&) = delete;
    OzmLogic& operator=(const OzmLogic&) = delete;

private:
    OzmLogic() = default;
    void loadQtTranslation(const QString& code);

    bool m_initialized = false;
    QPointer<QTranslator> m_translator;
    QPointer<QTranslator> m_qtTranslator;
};
