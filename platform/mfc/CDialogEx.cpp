#include "mfc/CDialogEx.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

CDialogEx::CDialogEx(int templateId, QWidget* parent) : QDialog(parent), m_templateId(templateId) {}

CDialogEx::~CDialogEx() {
    if (m_loop)
        m_loop->exit(IDCANCEL);
}

int CDialogEx::DoModal() {
    m_ended = false;
    m_result = IDCANCEL;
    QEventLoop loop;
    m_loop = &loop;
    QPointer<CDialogEx> self(this);
    const BOOL keepOpen = OnInitDialog();
    if (!self)
        return IDCANCEL;
    if (m_ended || !keepOpen) {
        m_loop = nullptr;
        return m_result;
    }
    // A loop of our own rather than QDialog::exec: the dialog may hide while a frame of the
    // program shows (the print preview) and must keep running meanwhile.
    setWindowModality(Qt::ApplicationModal);
    show();
    loop.exec(QEventLoop::DialogExec);
    if (self)
        m_loop = nullptr;
    return m_result;
}

void CDialogEx::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    setResult(result);
    hide();
    if (m_loop)
        m_loop->exit(result);
}

BOOL CDialogEx::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

QWidget* CDialogEx::GetDlgItem(int id) const {
    return m_controls.value(id, nullptr);
}

void CDialogEx::SetDlgItemText(int id, const QString& text) {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
}

QString CDialogEx::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    return QString();
}

BOOL CDialogEx::SendCommand(int id) {
    auto it = m_commands.find(id);
    if (it == m_commands.end())
        return FALSE;
    // The handler may end and delete the dialog; keep a copy.
    std::function<void()> handler = it.value();
    handler();
    return TRUE;
}

void CDialogEx::SendCloseMessage() {
    OnClose();
}

QRect CDialogEx::MapDialogRect(int x, int y, int w, int h) const {
    const QFontMetrics fm(font());
    const int baseX = qMax(1, fm.averageCharWidth());
    const int baseY = qMax(1, fm.height());
    return QRect(x * baseX / 4, y * baseY / 8, w * baseX / 4, h * baseY / 8);
}

BOOL CDialogEx::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialogEx::DoDataExchange(CDataExchange*) {}

void CDialogEx::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialogEx::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialogEx::OnClose() {
    OnCancel();
}

void CDialogEx::onCommand(int id, std::function<void()> handler) {
    m_commands.insert(id, std::move(handler));
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        connect(button, &QAbstractButton::clicked, this, [this, id] { SendCommand(id); });
}

void CDialogEx::reject() {
    OnCancel();
}

void CDialogEx::accept() {
    OnOK();
}

void CDialogEx::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isVisible())
        OnClose();
}

void CDialogEx::registerControl(int id, QWidget* control) {
    m_controls.insert(id, control);
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button)
        return;
    if (id == IDOK)
        onCommand(id, [this] { OnOK(); });
    else if (id == IDCANCEL)
        onCommand(id, [this] { OnCancel(); });
}
