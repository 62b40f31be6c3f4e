// The single preview: one camera's live stream on the stored stream setting in a small
// window that stays on top. The close button accepts it; whichever way it ends, the stream
// is stopped, the device logged out and the SDK cleaned up, once.
#pragma once

#include "FramelessDialog.h"
#include "PreviewSession.h"

#include <QStringList>

class QLabel;
class QPushButton;
class QWidget;

class PlayDialog : public FramelessDialog {
    Q_OBJECT

public:
    explicit PlayDialog(QWidget* parent = nullptr);
    ~PlayDialog() override;

    // Logs in to the device of the row and starts its stream into the video widget.
    void playDevice(QStringList row);

    QWidget* videoWidget() const { return m_videoWidget; }
    const PreviewSession& session() const { return m_session; }

    int dialogHeight = 377;
    int dialogWidth = 534;

protected:
    void done(int result) override;

private:
    PreviewSession m_session;
    QWidget* m_videoWidget = nullptr;
};
