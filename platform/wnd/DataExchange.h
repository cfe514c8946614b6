// Dialog data exchange: controls bound to members, and integer and string texts of controls.
#pragma once

#include "platform/os/WinTypes.h"
#include "platform/wnd/String.h"

class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;
};

// Makes `control` the object behind the dialog's control `id` (once; later calls do nothing).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// The control's text as a decimal integer. Text that is no number fails the exchange and leaves
// the member unchanged.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
