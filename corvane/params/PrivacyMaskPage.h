// Page 9, privacy mask: the rectangle editor with twelve read-only coordinate edits (x, y,
// width, height of three areas) and a "Delete" button per area. The edits hold what is saved;
// the editor follows them and reports drags back into them. The dialog wires the edits, the
// buttons and the editor to its slots, which call the page. Texts are translated in the
// dialog's context.
#pragma once

#include <QCoreApplication>
#include <QObject>

#include <array>

class PlayWidget;
class QLineEdit;
class QPushButton;
class QRect;
class QWidget;

class PrivacyMaskPage : public QObject {
    Q_DECLARE_TR_FUNCTIONS(OtherParamConfigDlg)

public:
    static constexpr int kAreas = 3;

    // Builds the editor, the edits and the buttons into content (editor and buttons with dialog
    // as parent); dialog owns the page.
    PrivacyMaskPage(QWidget* dialog, QWidget* content);

    // The stored areas into the edits.
    void load();
    // The stored areas into the editor and the edits again; the edits are disabled for good.
    void loadEditor();

    PlayWidget* editor() const { return _playWidget; }
    // The twelve edits, area by area in the order x, y, width, height.
    std::array<QLineEdit*, kAreas * 4> edits() const;
    const std::array<QPushButton*, kAreas>& deleteButtons() const { return _privacyDeleteBtn; }

    // A drag's rectangle into the edits of area index (0, 1, anything else: 2), without echo.
    void showArea(int index, const QRect& rect);
    // An edit's new text into the editor; a sender that is none of the edits changes nothing.
    void editChanged(const QObject* edit, const QString& text);
    // A "Delete" button's area emptied, its edits set to "0"; any other sender: nothing.
    void clearArea(const QObject* button);

    void save() const;

private:
    PlayWidget* _playWidget = nullptr;
    QLineEdit* _privacyEdit[kAreas][4] = {};
    std::array<QPushButton*, kAreas> _privacyDeleteBtn = {};

    friend class MediaPagesTestAccess;
};
