// The live-preview check: a full-screen grid of video panes, one logged-in camera and live
// stream per pane, with its own SDK start-up. Every way of ending it (close button, double
// click, Escape, done, destruction) stops every stream, logs every device out and cleans the
// SDK up, once.
#pragma once

#include "FramelessDialog.h"
#include "PreviewSession.h"

#include <QList>
#include <QStringList>
#include <QVector>

class QLabel;
class QPushButton;
class QWidget;

class PlayCheckDeviceDialog : public FramelessDialog {
    Q_OBJECT

public:
    PlayCheckDeviceDialog(int rows, int columns, QWidget* parent = nullptr);
    ~PlayCheckDeviceDialog() override;

    // Logs in to and plays the first min(rows, panes, 16) devices, one per pane: the sub
    // stream when more than four rows are given, else the main stream.
    void startPlay(QVector<QStringList> rows);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    int paneCount() const { return m_paneCount; }
    const QList<QWidget*>& panes() const { return m_panes; }
    const PreviewSession& session() const { return m_session; }

    int dialogWidth = 0;
    int dialogHeight = 0;

public slots:
    void onCloseBtnClicked();

protected:
    void done(int result) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_rows;
    int m_columns;
    int m_paneCount;
    PreviewSession m_session;
    QWidget* m_titleBar = nullptr;
    QWidget* m_videoArea = nullptr;
    QList<QWidget*> m_panes;
};
