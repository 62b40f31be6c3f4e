// The image test: each device of a list in turn, full screen on the main stream. A device counts
// as shown once it has been on screen for a double-click interval; then it is reported through
// removeRow with the number still to be shown after it. Clicks that arrive while the next device
// is starting (the second half of a double click) neither advance nor close. The dialog works
// on its own copy of the list. Ending it in any way stops the stream, logs out and cleans the
// SDK up, once.
#pragma once

#include "FramelessDialog.h"
#include "PreviewSession.h"

#include <QStringList>
#include <QVector>

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

class ImageTestDialog : public FramelessDialog {
    Q_OBJECT

public:
    explicit ImageTestDialog(QWidget* parent = nullptr);
    ~ImageTestDialog() override;

    // Takes a copy of the rows and shows the first one (an empty list shows nothing).
    void setDeviceList(const QVector<QStringList>& rows);
    // Shows the next device; does nothing while the current one is starting, once every device
    // has been shown, or after stop.
    void startPreview();
    // Stops, logs out and closes.
    void stopPreview();

    int remaining() const { return m_remaining; }
    // The device on screen has not yet been on screen long enough to count as shown.
    bool starting() const { return m_starting; }
    QPushButton* nextButton() const { return m_nextButton; }
    QWidget* videoWidget() const { return m_videoWidget; }
    const PreviewSession& session() const { return m_session; }

    int dialogHeight = 0;
    int dialogWidth = 0;

signals:
    void removeRow(QString qstrMac, int size);

protected:
    void done(int result) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onShown();

    PreviewSession m_session;
    QVector<QStringList> m_rows;
    int m_next = 0;
    int m_remaining = 0;
    QWidget* m_videoWidget = nullptr;
    QPushButton* m_nextButton = nullptr;
    QTimer* m_settle = nullptr;
    bool m_starting = false;
    QString m_startingMac;
};
