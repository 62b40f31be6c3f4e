// Table of the firmware-upgrade window: IP, progress, state; no colouring.
#pragma once

#include "Cmodifytableview.h"

class Cmodifyupgradeview : public Cmodifytableview {
    Q_OBJECT
public:
    explicit Cmodifyupgradeview(QWidget* parent = nullptr);
};
