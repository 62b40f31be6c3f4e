// The texts that may arrive in the device table's status, full-netcom, online and DHCP columns
// untranslated (from the engine and from the search), shown in the program's language. The rows
// keep the English texts, which the window and the engine compare.
#pragma once

#include <QString>

class DeviceTableTexts {
public:
    // The text a cell of the column shows for its stored text: the translation of a known text
    // in the columns above, else the text itself.
    static QString display(int column, const QString& text);
};
