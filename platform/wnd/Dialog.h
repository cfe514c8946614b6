// CDialog: a window built from a dialog template, run modally (DoModal, with a nested event
// loop) or modeless (Create), with the dialog manager's keyboard interface and data exchange.
#pragma once

#include "platform/wnd/DataExchange.h"
#include "platform/wnd/Wnd.h"

class QEventLoop;

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Creates the dialog as a modeless window; it shows when its template says so.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with the result; hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    BOOL IsDialogMessage(MSG* msg);
    void NextDlgCtrl();
    void PrevDlgCtrl();
    void GotoDlgCtrl(CWnd* ctl);
    void SetDefID(UINT id);
    DWORD GetDefID() const;

    UINT GetTemplateId() const { return m_nIDTemplate; }
    bool IsModalRunning() const { return m_pLoop != nullptr; }

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    BOOL CreateFromTemplate(CWnd* parent);
    void DestroyDialogFont();

    QEventLoop* m_pLoop = nullptr;
    bool m_bEndRequested = false;
    int m_nModalResult = -1;
    UINT m_nDefId = IDOK;
    HFONT m_hDialogFont = nullptr;
};
