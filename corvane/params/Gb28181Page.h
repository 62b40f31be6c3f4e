// Page 4, GB28181: the registration fields with a live hint under each, loaded from and saved
// into the GB28181 record. The password hints follow only while the page's enable check box is
// checked. Texts are translated in the dialog's context.
#pragma once

#include "ParamPageKit.h"

#include <QCoreApplication>
#include <QObject>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

class Gb28181Page : public QObject {
    Q_DECLARE_TR_FUNCTIONS(OtherParamConfigDlg)

public:
    // Builds the widgets into content (the ones the dialog parents, with dialog as parent) and
    // connects the live checks. dialog owns the page.
    Gb28181Page(QWidget* dialog, QWidget* content, const QCheckBox* pageEnable);

    // Record to widgets; then the field hints show what the loaded values fail.
    void load();
    // The first failed check of the save, in order; none when the record may be stored.
    std::optional<pagekit::Refusal> check() const;
    // Widgets to a fresh record, stored.
    void save() const;

private:
    enum Hint {
        HintLocalPort,
        HintServerId,
        HintServerDomain,
        HintServerPort,
        HintUser,
        HintAuthId,
        HintPassword,
        HintConfirm,
        HintValidPeriod,
        HintHeartbeat,
        HintInterval,
        HintTimeouts,
        HintAlarmId,
        HintCount
    };

    // Each editor with its live check, in the order of the hints' table.
    using LiveCheck = std::pair<QLineEdit*, void (Gb28181Page::*)(const QString&)>;
    std::vector<LiveCheck> liveChecks() const;
    void buildHints(QWidget* content);
    void connectChecks();
    // A field's hint shown exactly when its text fails the field's live check.
    void onLocalSipPortChanged(const QString& text);
    void onServerIdChanged(const QString& text);
    void onServerDomainChanged(const QString& text);
    void onServerPortChanged(const QString& text);
    void onSipUserChanged(const QString& text);
    void onAuthIdChanged(const QString& text);
    void onGbPasswordChanged(const QString& text);
    void onGbConfirmChanged(const QString& text);
    void onValidPeriodChanged(const QString& text);
    void onHeartbeatCycleChanged(const QString& text);
    void onRegisterIntervalChanged(const QString& text);
    void onHeartbeatTimeoutsChanged(const QString& text);
    void onAlarmIdChanged(const QString& text);

    const QCheckBox* _pageEnable;
    QCheckBox* _gbEnableCheck = nullptr;
    QComboBox* _gbAccessCombo = nullptr;
    QComboBox* _gbVersionCombo = nullptr;
    QLineEdit* _gbLocalPortEdit = nullptr;
    QLineEdit* _gbServerIdEdit = nullptr;
    QLineEdit* _gbServerDomainEdit = nullptr;
    QLineEdit* _gbServerAddressEdit = nullptr;
    QLineEdit* _gbServerPortEdit = nullptr;
    QLineEdit* _gbUserEdit = nullptr;
    QLineEdit* _gbAuthIdEdit = nullptr;
    QLineEdit* _gbPasswordEdit = nullptr;
    QLineEdit* _gbConfirmEdit = nullptr;
    QLineEdit* _gbValidPeriodEdit = nullptr;
    QComboBox* _gbStatusCombo = nullptr;
    QLineEdit* _gbHeartbeatEdit = nullptr;
    QComboBox* _gbStreamCombo = nullptr;
    QComboBox* _gbTransportCombo = nullptr;
    QLineEdit* _gbIntervalEdit = nullptr;
    QLineEdit* _gbTimeoutsEdit = nullptr;
    QLineEdit* _gbAlarmIdEdit = nullptr;
    QWidget* _gbHint[HintCount] = {};
    std::uint8_t _gbStatus = 0; // shown only; stored back as loaded

    friend class OtherParamConfigDlgTestAccess;
};
