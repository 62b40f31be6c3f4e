// The About box.
#pragma once

#include "mfc/CDialogEx.h"

class CAboutDlg : public CDialogEx {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
