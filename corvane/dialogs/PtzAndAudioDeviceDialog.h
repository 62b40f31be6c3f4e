// The PTZ and audio test: the preview grid with a PTZ pad and a record box below it. PTZ
// buttons act on every logged-in device; "Open Voice" and "Close Voice" switch each device's
// audio and talk and write one record line per device, in row order. Ending the dialog in
// any way stops talk and audio, then the streams, logs out and cleans the SDK up, once.
#pragma once

#include "FramelessDialog.h"
#include "PreviewSession.h"

#include <QList>
#include <QStringList>
#include <QVector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;
class QWidget;

class PtzAndAudioDeviceDialog : public FramelessDialog {
    Q_OBJECT

public:
    // Command codes of the pad's buttons (0 stops a movement); captions are translated in this
    // class's context.
    struct PtzButton {
        const char* caption;
        int row;
        int column;
        int code;  // -1: a voice button
        bool hold; // press sends the code, release sends 0
    };
    static const PtzButton kButtons[17];

    PtzAndAudioDeviceDialog(int rows, int columns, QWidget* parent = nullptr);
    ~PtzAndAudioDeviceDialog() override;

    // Keeps the rows, then logs in and plays as the preview grid does.
    void startPlay(QVector<QStringList> rows);
    // Sends one command to every logged-in device.
    void sendPtzCommand(int command);
    void openVoice();
    void closeVoice();
    bool setAudioTalk(int device, bool on);

    int paneCount() const { return m_paneCount; }
    const QList<QWidget*>& panes() const { return m_panes; }
    const QVector<QStringList>& keptRows() const { return m_keptRows; }
    const PreviewSession& session() const { return m_session; }
    QPushButton* ptzButton(const QString& caption) const;
    QTextEdit* recordBox() const { return m_recordBox; }

    int dialogWidth = 0;
    int dialogHeight = 0;

public slots:
    void onCloseBtnClicked();

protected:
    void done(int result) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPad();
    // Devices the per-device loops cover: the kept rows, at most the handle slots.
    int deviceCount() const;
    void switchVoice(bool on);
    // Sends the stop of a held movement.
    void stopMovement();

    int m_rows;
    int m_columns;
    int m_paneCount;
    int m_stream = 0;
    bool m_moving = false; // a hold button is down
    PreviewSession m_session;
    QVector<QStringList> m_keptRows;
    QWidget* m_videoArea = nullptr;
    QList<QWidget*> m_panes;
    QGroupBox* m_ptzBox = nullptr;
    QTextEdit* m_recordBox = nullptr;
    QList<QPushButton*> m_buttons;
};
