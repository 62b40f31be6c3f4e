#include "CommonDelegateEx.h"

CommonDelegateEx::CommonDelegateEx(QObject* parent) : ResultCellDelegate(parent) {}
