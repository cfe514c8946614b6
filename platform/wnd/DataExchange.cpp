// Data exchange between dialog controls and members.
#include "platform/wnd/DataExchange.h"

#include "platform/wnd/Wnd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!pDX || !pDX->m_pDlgWnd || control.m_hWnd)
        return;
    control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    CWnd* ctl = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!ctl)
        return;
    if (!pDX->m_bSaveAndValidate) {
        CString s;
        s.Format("%d", value);
        ctl->SetWindowText(s);
        return;
    }
    CString s;
    ctl->GetWindowText(s);
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(s.GetString(), &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    if (s.IsEmpty() || !end || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
        pDX->m_bFailed = true;
        return;
    }
    value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    CWnd* ctl = pDX && pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
        ctl->GetWindowText(value);
    else
        ctl->SetWindowText(value);
}
