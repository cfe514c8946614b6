// CDlgMsg: the program's own skinned message box, with a text and the icon buttons Yes and No.
// DoModal returns IDOK (1) for Yes or Enter and IDCANCEL (2) for No or Escape.
#pragma once

#include "controls/BkDialogST.h"
#include "controls/ButtonST.h"

class CDlgMsg : public CBkDialogST
{
public:
    explicit CDlgMsg(CWnd* pParent = nullptr);
    ~CDlgMsg() override;

    void SetMessage(const char* text) { m_strMessage = text ? text : ""; }
    const CString& GetMessage() const { return m_strMessage; }

    CString m_strAppDir;
    CString m_strResourceDir;
    CButtonST m_btnYes;
    CButtonST m_btnNo;
    CString m_strMessage;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;

private:
    CFont m_fontMessage;
};
