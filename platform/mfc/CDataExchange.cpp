#include "mfc/CDataExchange.h"

#include "mfc/CDialogEx.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

void DDX_Text(CDataExchange* pDX, int id, QString& value) {
    QWidget* control = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    auto* button = qobject_cast<QAbstractButton*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = button->isChecked() ? 1 : 0;
    } else {
        // Auto radio buttons of one group exclude each other; unchecking needs the group off.
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(value != 0);
        button->setAutoExclusive(exclusive);
    }
}
