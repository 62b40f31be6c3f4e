// Page 9, privacy mask: the page in its frame, wired to the dialog's slots, which pass the
// editor's drags, the edits' texts and the "Delete" buttons on to it.
#include "OtherParamConfigDlg.h"

#include "PlayWidget.h"
#include "PrivacyMaskPage.h"

#include <QLineEdit>
#include <QPushButton>

void OtherParamConfigDlg::createPrivacyMaskPage() {
    QWidget* content = createPageFrame(OZM::FamilyPrivacyMask);
    _privacyPage = new PrivacyMaskPage(this, content);
    _playWidget = _privacyPage->editor();
    _privacyPage->load();
}

// Wires the page and gives the editor the stored areas; the edits start disabled and stay so.
void OtherParamConfigDlg::loadPrivacyEditor() {
    for (QPushButton* button : _privacyPage->deleteButtons())
        connect(button, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
    for (QLineEdit* edit : _privacyPage->edits())
        connect(edit, &QLineEdit::textChanged, this, &OtherParamConfigDlg::onTextChanged);
    connect(_playWidget, &PlayWidget::posChanged, this, &OtherParamConfigDlg::onPosChanged);
    _privacyPage->loadEditor();
}

void OtherParamConfigDlg::showPrivacyEditor(bool visible) {
    if (_playWidget)
        _playWidget->setVisible(visible);
}

void OtherParamConfigDlg::onPosChanged(int index, QRect* rect) {
    if (rect)
        _privacyPage->showArea(index, *rect);
}

void OtherParamConfigDlg::onTextChanged(const QString& text) {
    _privacyPage->editChanged(sender(), text);
}

bool OtherParamConfigDlg::savePrivacyMaskInfo() {
    _privacyPage->save();
    return true;
}
