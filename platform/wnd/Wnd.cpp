// CWnd: handle table, message dispatch, geometry, state, text, painting requests, focus and capture.
#include "platform/wnd/Wnd.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/QtBridge.h"
#include "platform/wnd/InputRouter.h"
#include "platform/wnd/MessageQueue.h"
#include "platform/wnd/NativeWindow.h"
#include "platform/wnd/PaintDC.h"
#include "platform/wnd/TimerQueue.h"
#include "platform/wnd/WndFactory.h"
#include "platform/wnd/WndInternal.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstring>
#include <unistd.h>
#include <unordered_map>

namespace {

std::unordered_map<HWND, CWnd*>& Handles()
{
    static std::unordered_map<HWND, CWnd*> table;
    return table;
}

std::uintptr_t g_nextHandle = 0x1000;

// The messages being handled, innermost last, so Default() knows what to pass on.
std::vector<MSG>& MessageStack()
{
    static std::vector<MSG> stack;
    return stack;
}

CWnd* g_focus = nullptr;
CWnd* g_capture = nullptr;

struct MessageScope
{
    MessageScope(HWND h, UINT m, WPARAM w, LPARAM l) { MessageStack().push_back({h, m, w, l}); }
    ~MessageScope() { MessageStack().pop_back(); }
};

} // namespace

// ---- handle table -------------------------------------------------------------------------------

HWND WndAccess::Register(CWnd* wnd)
{
    g_nextHandle += 4;
    HWND h = reinterpret_cast<HWND>(g_nextHandle);
    Handles()[h] = wnd;
    return h;
}

void WndAccess::Unregister(HWND hWnd)
{
    Handles().erase(hWnd);
}

void WndAccess::Rebind(HWND hWnd, CWnd* wnd)
{
    Handles()[hWnd] = wnd;
}

std::vector<HWND>& WndAccess::TopLevels()
{
    static std::vector<HWND> tops;
    return tops;
}

void WndAccess::RaiseTopLevel(HWND hWnd)
{
    auto& tops = TopLevels();
    tops.erase(std::remove(tops.begin(), tops.end(), hWnd), tops.end());
    tops.push_back(hWnd);
}

QPoint WndAccess::OriginInTop(const CWnd* w)
{
    QPoint origin(0, 0);
    const CWnd* cur = w;
    while (cur && cur->m_hParent) {
        if (cur->m_native)
            origin += cur->m_native->pos();
        cur = CWnd::FromHandle(cur->m_hParent);
    }
    return origin;
}

bool WndAccess::IsMouseTransparent(const CWnd* w)
{
    // Static texts and pictures without SS_NOTIFY report HTTRANSPARENT: the click belongs to
    // the window beneath them.
    return std::strcmp(w->GetWndClassName(), "Static") == 0 && !(w->GetStyle() & SS_NOTIFY);
}

CWnd* WndAccess::ChildAt(CWnd* w, QPoint p)
{
    for (HWND h : w->m_children) {
        CWnd* c = CWnd::FromHandle(h);
        if (!c || !c->m_native || !c->m_native->isVisibleTo(w->m_native) || c->m_native->isHidden())
            continue;
        if (IsMouseTransparent(c))
            continue;
        QRect g = c->m_native->geometry();
        if (g.contains(p))
            return ChildAt(c, p - g.topLeft());
    }
    return w;
}

bool WndAccess::ShapeContains(const CWnd* top, QPoint p)
{
    if (!top->m_hRgn)
        return true;
    return gdi::RegionOf(top->m_hRgn).contains(p);
}

void WndAccess::SetFocusWindow(CWnd* w)
{
    g_focus = w;
}

void WndAccess::ForgetWindow(CWnd* w)
{
    if (g_focus == w)
        g_focus = nullptr;
    if (g_capture == w)
        g_capture = nullptr;
    wnd::InputRouter::Forget(w);
}

// ---- CWnd ---------------------------------------------------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd)
        DestroyWindow();
    delete m_pClientDC;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto it = Handles().find(hWnd);
    return it == Handles().end() ? nullptr : it->second;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id)
{
    if (m_hWnd)
        return FALSE;
    const bool child = (style & WS_CHILD) && parent && parent->m_hWnd;
    m_strClass = className ? className : "";
    m_strText = windowName ? windowName : "";
    m_dwStyle = style;
    m_dwExStyle = exStyle;
    m_nID = child ? id : 0;
    m_bEnabled = !(style & WS_DISABLED);
    m_hWnd = WndAccess::Register(this);
    m_hParent = child ? parent->m_hWnd : nullptr;

    auto* native = new wnd::NativeWindow(this, child ? parent->m_native : nullptr, !child);
    m_native = native;
    const CRect r(rect);
    native->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
    if (child) {
        parent->m_children.push_back(m_hWnd);
        // The top-level window routes all input of its children itself.
        native->setAttribute(Qt::WA_TransparentForMouseEvents);
    } else {
        WndAccess::TopLevels().push_back(m_hWnd);
        if (parent && parent->m_native)
            m_hParent = nullptr; // owner windows are not tracked: a top-level has no parent
    }
    OnNativeCreated();
    SendMessage(WM_CREATE, 0, 0);
    if (style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    HWND self = m_hWnd;
    SendMessage(WM_DESTROY, 0, 0);
    // Children first, newest first.
    std::vector<HWND> kids = m_children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        CWnd* c = FromHandle(*it);
        if (!c)
            continue;
        const bool owned = c->m_bLayerOwned;
        c->DestroyWindow();
        if (owned)
            delete c;
    }
    m_children.clear();
    wnd::TimerQueue::KillAll(self);
    WndAccess::ForgetWindow(this);
    if (CWnd* parent = FromHandle(m_hParent)) {
        auto& siblings = parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    }
    auto& tops = WndAccess::TopLevels();
    tops.erase(std::remove(tops.begin(), tops.end(), self), tops.end());
    if (m_native) {
        m_native->setOwner(nullptr);
        m_native->hide();
        // A widget whose own event is being handled goes when that handler has returned.
        if (m_native->isDispatching())
            m_native->deleteLater();
        else
            delete m_native;
        m_native = nullptr;
    }
    if (m_hRgn) {
        DeleteObject(m_hRgn);
        m_hRgn = nullptr;
    }
    WndAccess::Unregister(self);
    m_hWnd = nullptr;
    m_hParent = nullptr;
    {
        MessageScope scope(self, WM_NCDESTROY, 0, 0);
        PostNcDestroy();
    }
    return TRUE;
}

void CWnd::AttachNative(wnd::NativeWindow* native)
{
    m_native = native;
    if (native)
        native->setOwner(this);
}

void CWnd::DetachNative()
{
    m_native = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    CWnd* old = FromHandle(hWnd);
    if (!old || old == this || m_hWnd)
        return FALSE;
    m_hWnd = hWnd;
    m_strClass = old->m_strClass;
    m_strText = old->m_strText;
    m_dwStyle = old->m_dwStyle;
    m_dwExStyle = old->m_dwExStyle;
    m_nID = old->m_nID;
    m_hParent = old->m_hParent;
    m_children = std::move(old->m_children);
    m_hFont = old->m_hFont;
    m_hIconBig = old->m_hIconBig;
    m_hIconSmall = old->m_hIconSmall;
    m_hRgn = old->m_hRgn;
    m_bEnabled = old->m_bEnabled;
    AttachNative(old->m_native);
    WndAccess::Rebind(hWnd, this);
    if (g_focus == old)
        g_focus = this;
    if (g_capture == old)
        g_capture = this;
    wnd::InputRouter::Replace(old, this);
    old->m_native = nullptr;
    old->m_hWnd = nullptr;
    old->m_hRgn = nullptr;
    old->m_children.clear();
    TakeOverState(old);
    if (old->m_bLayerOwned)
        delete old;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    CWnd* item = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    // The window goes back to a plain object of its class, owned by the layer.
    if (!m_hWnd)
        return nullptr;
    HWND h = m_hWnd;
    CWnd* plain = wnd::CreateDefaultObject(m_strClass.GetString());
    plain->m_bLayerOwned = true;
    plain->m_hWnd = h;
    plain->m_strClass = m_strClass;
    plain->m_strText = m_strText;
    plain->m_dwStyle = m_dwStyle;
    plain->m_dwExStyle = m_dwExStyle;
    plain->m_nID = m_nID;
    plain->m_hParent = m_hParent;
    plain->m_children = std::move(m_children);
    plain->m_hFont = m_hFont;
    plain->m_hRgn = m_hRgn;
    plain->m_bEnabled = m_bEnabled;
    plain->AttachNative(m_native);
    WndAccess::Rebind(h, plain);
    if (g_focus == this)
        g_focus = plain;
    if (g_capture == this)
        g_capture = plain;
    wnd::InputRouter::Replace(this, plain);
    m_native = nullptr;
    m_hWnd = nullptr;
    m_hRgn = nullptr;
    plain->TakeOverState(this);
    return h;
}

// ---- messages -----------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    MessageScope scope(m_hWnd, message, wParam, lParam);
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return FALSE;
    wnd::MessageQueue::Post(m_hWnd, message, wParam, lParam);
    return TRUE;
}

const MSG* CWnd::GetCurrentMessage() const
{
    auto& stack = MessageStack();
    return stack.empty() ? nullptr : &stack.back();
}

LRESULT CWnd::Default()
{
    const MSG* m = GetCurrentMessage();
    if (!m)
        return 0;
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

namespace {
CPoint PointOf(LPARAM lp)
{
    return CPoint(lp);
}
} // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        return OnEraseBkgnd(dc);
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD>(lParam)),
               HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        return OnMouseLeave(wParam, lParam);
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD>(lParam)),
                  HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD>(lParam)),
                HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD>(lParam)),
               HIWORD(static_cast<DWORD>(lParam)));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        return 0;
    case WM_ENABLE:
        OnEnable(static_cast<BOOL>(wParam));
        return 0;
    case WM_CANCELMODE:
        OnCancelMode();
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(static_cast<DWORD>(wParam)), FromHandle(reinterpret_cast<HWND>(lParam)),
                   HIWORD(static_cast<DWORD>(wParam)));
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(FromHandle(reinterpret_cast<HWND>(lParam)));
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        CWnd* ctl = FromHandle(reinterpret_cast<HWND>(lParam));
        return reinterpret_cast<LRESULT>(OnCtlColor(dc, ctl, message - WM_CTLCOLORMSGBOX));
    }
    case WM_GETDLGCODE:
        return OnGetDlgCode();
    case WM_SETCURSOR:
        return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(static_cast<DWORD>(lParam)),
                           HIWORD(static_cast<DWORD>(lParam)));
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    case WM_DRAWITEM: {
        // Owner-draw requests are reflected to the control that asked.
        CWnd* ctl = GetDlgItem(static_cast<int>(wParam));
        LRESULT result = 0;
        if (ctl && ctl->OnChildNotify(message, wParam, lParam, &result))
            return TRUE;
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        // Validates the window; erasing happens on the way.
        CPaintDC dc(this);
        return 0;
    }
    case WM_ERASEBKGND: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        CRect rc;
        GetClientRect(&rc);
        if (dc)
            dc->FillRect(&rc, CBrush::FromHandle(GetSysColorBrush(COLOR_BTNFACE)));
        return 1;
    }
    case WM_SETTEXT:
        m_strText = reinterpret_cast<const char*>(lParam);
        Invalidate();
        return TRUE;
    case WM_GETTEXT: {
        char* buf = reinterpret_cast<char*>(lParam);
        int max = static_cast<int>(wParam);
        if (!buf || max <= 0)
            return 0;
        int n = std::min(max - 1, m_strText.GetLength());
        std::memcpy(buf, m_strText.GetString(), static_cast<std::size_t>(n));
        buf[n] = '\0';
        return n;
    }
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (lParam)
            Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_SETICON: {
        HICON old = wParam ? m_hIconBig : m_hIconSmall;
        (wParam ? m_hIconBig : m_hIconSmall) = reinterpret_cast<HICON>(lParam);
        if (wParam && m_native && !m_hParent)
            m_native->setWindowIcon(QIcon(QPixmap::fromImage(gdi::IconImage(m_hIconBig))));
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETDLGCODE:
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MOVE)
            wnd::InputRouter::BeginWindowMove(GetTopLevelParent());
        else if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessage(WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SETCURSOR:
        return FALSE;
    case WM_QUERYDRAGICON:
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (dc) {
            dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
            dc->SetBkColor(GetSysColor(
                message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? COLOR_WINDOW : COLOR_BTNFACE));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(
            message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    default:
        return 0;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(static_cast<DWORD>(wParam));
    const int code = HIWORD(static_cast<DWORD>(wParam));
    if (lParam) {
        CWnd* ctl = FromHandle(reinterpret_cast<HWND>(lParam));
        LRESULT result = 0;
        if (ctl && ctl != this && ctl->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    return OnCmdMsg(id, code);
}

BOOL CWnd::OnCmdMsg(UINT, int)
{
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

HBRUSH CWnd::CtlColor(CDC*, UINT)
{
    return nullptr;
}

void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
LRESULT CWnd::OnMouseLeave(WPARAM, LPARAM)
{
    return Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
HICON CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HICON>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The control may answer for itself (reflection); otherwise the default colours.
    if (pWnd && pWnd != this) {
        if (HBRUSH brush = pWnd->CtlColor(pDC, nCtlColor))
            return brush;
    }
    return reinterpret_cast<HBRUSH>(Default());
}

// ---- geometry -----------------------------------------------------------------------------------

void CWnd::GetClientRect(LPRECT rect) const
{
    if (!rect)
        return;
    *rect = RECT{0, 0, 0, 0};
    if (m_native)
        *rect = RECT{0, 0, m_native->width(), m_native->height()};
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    if (!rect)
        return;
    *rect = RECT{0, 0, 0, 0};
    if (!m_native)
        return;
    // From the layer's own geometry, which the offscreen platform keeps as faithfully as a screen.
    QPoint tl = m_native->pos();
    if (m_hParent)
        tl = GetTopLevelParent()->m_native->pos() + WndAccess::OriginInTop(this);
    *rect = RECT{tl.x(), tl.y(), tl.x() + m_native->width(), tl.y() + m_native->height()};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(const RECT* rect, BOOL repaint)
{
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags)
{
    if (!m_native)
        return FALSE;
    const QPoint oldPos = m_native->pos();
    const QSize oldSize = m_native->size();
    QPoint pos = (flags & SWP_NOMOVE) ? oldPos : QPoint(x, y);
    QSize size = (flags & SWP_NOSIZE) ? oldSize : QSize(std::max(0, cx), std::max(0, cy));
    if (size != oldSize) {
        if (!m_hParent)
            m_native->setFixedSize(size);
        else
            m_native->resize(size);
    }
    if (pos != oldPos)
        m_native->move(pos);
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    if (!(flags & SWP_NOREDRAW) && m_native->parentWidget())
        m_native->parentWidget()->update();
    return TRUE;
}

void CWnd::ClientToScreen(LPPOINT point) const
{
    if (!point)
        return;
    CRect wr;
    GetWindowRect(&wr);
    point->x += wr.left;
    point->y += wr.top;
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    if (!rect)
        return;
    ClientToScreen(reinterpret_cast<LPPOINT>(&rect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    if (!point)
        return;
    CRect wr;
    GetWindowRect(&wr);
    point->x -= wr.left;
    point->y -= wr.top;
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    if (!rect)
        return;
    ScreenToClient(reinterpret_cast<LPPOINT>(&rect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&rect->right));
}

// ---- state --------------------------------------------------------------------------------------

BOOL CWnd::ShowWindow(int cmdShow)
{
    if (!m_native)
        return FALSE;
    const BOOL wasVisible = m_native->isVisible() || (m_hParent && !m_native->isHidden());
    const bool show = cmdShow != SW_HIDE;
    if (show)
        m_dwStyle |= WS_VISIBLE;
    else
        m_dwStyle &= ~WS_VISIBLE;
    if (bool(wasVisible) != show)
        SendMessage(WM_SHOWWINDOW, show, 0);
    switch (cmdShow) {
    case SW_HIDE:
        m_native->hide();
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        m_native->showMinimized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (!m_hParent) {
            m_native->showNormal();
            WndAccess::RaiseTopLevel(m_hWnd);
        } else {
            m_native->show();
        }
        break;
    default:
        m_native->show();
        if (!m_hParent)
            WndAccess::RaiseTopLevel(m_hWnd);
        break;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    if (!m_native)
        return FALSE;
    if (!(m_dwStyle & WS_VISIBLE))
        return FALSE;
    const CWnd* parent = GetParent();
    return parent ? parent->IsWindowVisible() : TRUE;
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    const BOOL wasDisabled = !m_bEnabled;
    if (bool(m_bEnabled) == bool(enable))
        return wasDisabled;
    m_bEnabled = enable != FALSE;
    if (m_bEnabled)
        m_dwStyle &= ~WS_DISABLED;
    else
        m_dwStyle |= WS_DISABLED;
    if (!m_bEnabled && (g_capture == this))
        g_capture = nullptr;
    SendMessage(WM_ENABLE, enable ? TRUE : FALSE, 0);
    Invalidate();
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd && m_bEnabled;
}

BOOL CWnd::IsIconic() const
{
    return m_native && !m_hParent && m_native->isMinimized();
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    const DWORD old = m_dwStyle;
    m_dwStyle = (m_dwStyle & ~remove) | add;
    if (flags & SWP_FRAMECHANGED)
        Invalidate();
    return old != m_dwStyle;
}

LONG CWnd::GetWindowLong(int index) const
{
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(m_dwStyle);
    case GWL_EXSTYLE:
        return static_cast<LONG>(m_dwExStyle);
    case GWL_ID:
        return static_cast<LONG>(m_nID);
    default:
        return 0;
    }
}

LONG CWnd::SetWindowLong(int index, LONG value)
{
    LONG old = GetWindowLong(index);
    switch (index) {
    case GWL_STYLE:
        m_dwStyle = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        m_dwExStyle = static_cast<DWORD>(value);
        break;
    case GWL_ID:
        m_nID = static_cast<UINT>(value);
        break;
    default:
        break;
    }
    return old;
}

int CWnd::SetDlgCtrlID(int id)
{
    int old = static_cast<int>(m_nID);
    m_nID = static_cast<UINT>(id);
    return old;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    for (HWND h : m_children) {
        CWnd* c = FromHandle(h);
        if (c && static_cast<int>(c->m_nID) == id)
            return c;
    }
    return nullptr;
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(m_hParent);
}

CWnd* CWnd::GetTopLevelParent() const
{
    const CWnd* cur = this;
    while (cur && cur->m_hParent)
        cur = FromHandle(cur->m_hParent);
    return const_cast<CWnd*>(cur);
}

std::vector<CWnd*> CWnd::GetChildren() const
{
    std::vector<CWnd*> out;
    for (HWND h : m_children)
        if (CWnd* c = FromHandle(h))
            out.push_back(c);
    return out;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    std::vector<CWnd*> stops;
    for (CWnd* c : GetChildren())
        // The control's own visibility: a dialog sets its first focus before it is shown.
        if ((c->GetStyle() & WS_TABSTOP) && (c->GetStyle() & WS_VISIBLE) && c->IsWindowEnabled())
            stops.push_back(c);
    if (stops.empty())
        return nullptr;
    // A control's own child (a combo box's edit field) stands for the control.
    while (control && control->GetParent() && control->GetParent() != this)
        control = control->GetParent();
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) {
        // A control that is no tab stop itself: the next one after it in creation order.
        auto kids = GetChildren();
        auto pos = std::find(kids.begin(), kids.end(), control);
        if (pos == kids.end())
            return previous ? stops.back() : stops.front();
        if (!previous) {
            for (auto k = pos + 1; k != kids.end(); ++k)
                if (std::find(stops.begin(), stops.end(), *k) != stops.end())
                    return *k;
            return stops.front();
        }
        for (auto k = std::make_reverse_iterator(pos); k != kids.rend(); ++k)
            if (std::find(stops.begin(), stops.end(), *k) != stops.end())
                return *k;
        return stops.back();
    }
    const std::size_t i = static_cast<std::size_t>(it - stops.begin());
    const std::size_t n = stops.size();
    return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

// ---- text, font, icons --------------------------------------------------------------------------

void CWnd::SetWindowText(const char* text)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

void CWnd::GetWindowText(CString& text) const
{
    text = m_strText;
}

int CWnd::GetWindowText(char* buffer, int maxCount) const
{
    if (!buffer || maxCount <= 0)
        return 0;
    int n = std::min(maxCount - 1, m_strText.GetLength());
    std::memcpy(buffer, m_strText.GetString(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

int CWnd::GetWindowTextLength() const
{
    return m_strText.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT,
                reinterpret_cast<WPARAM>(font ? static_cast<HFONT>(font->GetSafeHandle()) : nullptr), redraw);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? 1 : 0, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const
{
    return bigIcon ? m_hIconBig : m_hIconSmall;
}

// ---- painting -----------------------------------------------------------------------------------

void CWnd::Invalidate(BOOL)
{
    if (m_native)
        m_native->update();
}

void CWnd::InvalidateRect(const RECT* rect, BOOL)
{
    if (!m_native)
        return;
    if (rect)
        m_native->update(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
    else
        m_native->update();
}

void CWnd::UpdateWindow()
{
    if (m_native && m_native->isVisible())
        m_native->repaint();
}

BOOL CWnd::RedrawWindow(const RECT* rect, CRgn*, UINT flags)
{
    if (!m_native)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(rect, flags & RDW_ERASE);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateWindow();
    return TRUE;
}

CDC* CWnd::GetDC()
{
    // Drawing outside a paint reaches a scratch image of the client size.
    auto* dc = new CClientDC(this);
    return dc;
}

int CWnd::ReleaseDC(CDC* dc)
{
    delete dc;
    return 1;
}

int CWnd::SetWindowRgn(HRGN rgn, BOOL redraw)
{
    if (!m_native)
        return 0;
    if (m_hRgn)
        DeleteObject(m_hRgn);
    m_hRgn = rgn;
    // The layer hit-tests against the region itself; the platform's mask only matters where
    // there is a real screen (the offscreen platform has none and would complain).
    if (QGuiApplication::platformName() != "offscreen") {
        if (rgn)
            m_native->setMask(gdi::RegionOf(rgn));
        else
            m_native->clearMask();
    }
    if (redraw)
        Invalidate();
    return 1;
}

// ---- focus, capture, timers ---------------------------------------------------------------------

CWnd* CWnd::SetFocus()
{
    CWnd* old = g_focus;
    if (old == this || !m_hWnd)
        return old;
    HWND oldH = old ? old->m_hWnd : nullptr;
    g_focus = this;
    if (old)
        old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(m_hWnd), 0);
    if (g_focus == this)
        SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(oldH), 0);
    return FromHandle(oldH);
}

CWnd* CWnd::GetFocus()
{
    return g_focus;
}

CWnd* CWnd::SetCapture()
{
    CWnd* old = g_capture;
    g_capture = this;
    if (old && old != this)
        old->SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_hWnd));
    return old;
}

CWnd* CWnd::GetCapture()
{
    return g_capture;
}

BOOL CWnd::SetForegroundWindow()
{
    if (!m_native)
        return FALSE;
    CWnd* top = GetTopLevelParent();
    if (top && top->m_native) {
        if (QGuiApplication::platformName() != "offscreen") {
            top->m_native->raise();
            top->m_native->activateWindow();
        }
        WndAccess::RaiseTopLevel(top->m_hWnd);
    }
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*)
{
    if (!m_hWnd)
        return 0;
    wnd::TimerQueue::Set(m_hWnd, id, elapse);
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return m_hWnd && wnd::TimerQueue::Kill(m_hWnd, id);
}

QWidget* CWnd::GetNativeWidget() const
{
    return m_native;
}

// ---- Windows-spelling functions -----------------------------------------------------------------

BOOL IsWindow(HWND hWnd)
{
    return CWnd::FromHandle(hWnd) != nullptr;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->SendMessage(message, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hWnd))
        return FALSE;
    wnd::MessageQueue::Post(hWnd, message, wParam, lParam);
    return TRUE;
}

HWND GetFocus()
{
    return g_focus ? g_focus->m_hWnd : nullptr;
}

HWND SetFocus(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    CWnd* old = w ? w->SetFocus() : nullptr;
    return old ? old->m_hWnd : nullptr;
}

HWND GetCapture()
{
    return g_capture ? g_capture->m_hWnd : nullptr;
}

BOOL ReleaseCapture()
{
    CWnd* old = g_capture;
    g_capture = nullptr;
    if (old)
        old->SendMessage(WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WindowFromPoint(POINT pt)
{
    auto& tops = WndAccess::TopLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        CWnd* top = CWnd::FromHandle(*it);
        if (!top || !top->IsWindowVisible() || top->IsIconic())
            continue;
        CRect wr;
        top->GetWindowRect(&wr);
        if (!wr.PtInRect(pt))
            continue;
        QPoint client(pt.x - wr.left, pt.y - wr.top);
        if (!WndAccess::ShapeContains(top, client))
            continue;
        return WndAccess::ChildAt(top, client)->m_hWnd;
    }
    return nullptr;
}

BOOL GetCursorPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    *point = wnd::InputRouter::CursorPos();
    return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme)
{
    if (!tme)
        return FALSE;
    wnd::InputRouter::TrackLeave(CWnd::FromHandle(tme->hwndTrack), !(tme->dwFlags & TME_CANCEL));
    return TRUE;
}

int GetClassNameA(HWND hWnd, char* buffer, int maxCount)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    if (!w || !buffer || maxCount <= 0)
        return 0;
    const char* name = w->GetWndClassName();
    int n = std::min(maxCount - 1, static_cast<int>(std::strlen(name)));
    std::memcpy(buffer, name, static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* processId)
{
    if (!IsWindow(hWnd))
        return 0;
    if (processId)
        *processId = static_cast<DWORD>(::getpid());
    return 1;
}

LONG GetWindowLongA(HWND hWnd, int index)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->GetWindowLong(index) : 0;
}

BOOL ShowWindow(HWND hWnd, int cmdShow)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->ShowWindow(cmdShow) : FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->IsWindowVisible() : FALSE;
}

short GetKeyState(int vk)
{
    return wnd::InputRouter::KeyState(vk);
}
