// Frame window: a top-level window holding one view pane, or the print preview in its place.
#pragma once

#include "mfc/MfcTypes.h"

#include <QMainWindow>

class CView;
class CPrintPreviewState;
class QStackedWidget;

class CFrameWnd : public QMainWindow {
    Q_OBJECT
public:
    explicit CFrameWnd(QWidget* parent = nullptr);
    ~CFrameWnd() override;

    // Sets the title and the initial rectangle, then runs OnCreate. FALSE when OnCreate fails.
    BOOL Create(const QString& title, const CRect& rect);
    virtual int OnCreate();
    // Command routing; the default handles nothing.
    virtual BOOL OnCmdMsg(UINT id);
    BOOL SendCommand(UINT id) { return OnCmdMsg(id); }

    // Adds a pane (a view or the preview) to the frame's client area.
    void addPane(QWidget* pane);
    void showPane(QWidget* pane);
    void SetActiveView(CView* view);
    CView* GetActiveView() const { return m_activeView; }

    // Enters or leaves the print preview; in it closing the frame runs the state's close procedure.
    void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state);
    bool inPreviewMode() const { return m_previewState != nullptr; }
    void RecalcLayout();

    void SetWindowText(const QString& text) { setWindowTitle(text); }
    QString GetWindowText() const { return windowTitle(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QStackedWidget* m_panes;
    CView* m_activeView = nullptr;
    CPrintPreviewState* m_previewState = nullptr;
};
