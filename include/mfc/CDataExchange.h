// Data exchange between a dialog's members and its controls.
#pragma once

#include "mfc/MfcTypes.h"

#include <QString>

class CDialogEx;

class CDataExchange {
public:
    CDataExchange(CDialogEx* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialogEx* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
};

// Text of an edit box, static text or button.
void DDX_Text(CDataExchange* pDX, int id, QString& value);
// Check state (1 or 0) of a check box or radio button.
void DDX_Check(CDataExchange* pDX, int id, int& value);
