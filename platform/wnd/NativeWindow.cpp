// Qt events in, window messages out.
#include "platform/wnd/NativeWindow.h"

#include "platform/wnd/InputRouter.h"
#include "platform/wnd/Wnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace wnd {
namespace {

UINT VirtualKey(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Plus:
        return VK_ADD;
    case Qt::Key_Minus:
        return VK_SUBTRACT;
    default:
        break;
    }
    const int k = e->key();
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z))
        return static_cast<UINT>(k);
    return 0;
}

WPARAM KeyStateOf(const QMouseEvent* e)
{
    WPARAM keys = 0;
    if (e->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

InputRouter::Button ButtonOf(const QMouseEvent* e)
{
    return e->button() == Qt::RightButton ? InputRouter::Button::Right : InputRouter::Button::Left;
}

} // namespace

NativeWindow::NativeWindow(CWnd* owner, QWidget* parent, bool topLevel)
    : QWidget(parent, topLevel ? Qt::Window | Qt::FramelessWindowHint : Qt::Widget), m_owner(owner),
      m_topLevel(topLevel)
{
    if (topLevel) {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_QuitOnClose, false);
    }
}

NativeWindow::~NativeWindow() = default;

bool NativeWindow::event(QEvent* e)
{
    struct Depth
    {
        int& d;
        explicit Depth(int& v) : d(v) { ++d; }
        ~Depth() { --d; }
    } depth(m_dispatchDepth);
    // Tab belongs to the dialog manager, not to Qt's focus chain.
    if (m_topLevel && e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QWidget::event(e);
}

void NativeWindow::paintEvent(QPaintEvent* e)
{
    if (!m_owner)
        return;
    QPainter painter(this);
    m_painter = &painter;
    m_paintRect = e->rect();
    m_erasePending = true;
    m_owner->SendMessage(WM_PAINT, 0, 0);
    m_painter = nullptr;
}

void NativeWindow::mousePressEvent(QMouseEvent* e)
{
    if (m_topLevel && m_owner)
        InputRouter::Mouse(m_owner, InputRouter::Action::Press, ButtonOf(e), e->position().toPoint(),
                           KeyStateOf(e));
}

void NativeWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_topLevel && m_owner)
        InputRouter::Mouse(m_owner, InputRouter::Action::Release, ButtonOf(e), e->position().toPoint(),
                           KeyStateOf(e));
}

void NativeWindow::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (m_topLevel && m_owner)
        InputRouter::Mouse(m_owner, InputRouter::Action::DoubleClick, ButtonOf(e), e->position().toPoint(),
                           KeyStateOf(e));
}

void NativeWindow::mouseMoveEvent(QMouseEvent* e)
{
    if (m_topLevel && m_owner)
        InputRouter::Mouse(m_owner, InputRouter::Action::Move, InputRouter::Button::Left,
                           e->position().toPoint(), KeyStateOf(e));
}

void NativeWindow::leaveEvent(QEvent*)
{
    if (m_topLevel && m_owner)
        InputRouter::PointerLeftTopLevel(m_owner);
}

void NativeWindow::keyPressEvent(QKeyEvent* e)
{
    if (!m_topLevel || !m_owner)
        return;
    UINT vk = VirtualKey(e);
    const QByteArray text = e->text().toUtf8();
    InputRouter::SetModifiers(e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier),
                              e->modifiers() & Qt::ControlModifier);
    if (vk || !text.isEmpty())
        InputRouter::Key(m_owner, vk, true, text.constData());
}

void NativeWindow::keyReleaseEvent(QKeyEvent* e)
{
    if (!m_topLevel || !m_owner)
        return;
    if (UINT vk = VirtualKey(e))
        InputRouter::Key(m_owner, vk, false, nullptr);
}

void NativeWindow::moveEvent(QMoveEvent*)
{
    if (m_owner)
        m_owner->SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x()), static_cast<WORD>(y())));
}

void NativeWindow::resizeEvent(QResizeEvent*)
{
    if (m_owner)
        m_owner->SendMessage(WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(width()), static_cast<WORD>(height())));
}

void NativeWindow::closeEvent(QCloseEvent* e)
{
    // The window manager's close button becomes the window's own close request.
    e->ignore();
    if (m_owner)
        m_owner->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void NativeWindow::changeEvent(QEvent* e)
{
    if (m_owner && m_topLevel && e->type() == QEvent::ActivationChange)
        m_owner->SendMessage(WM_ACTIVATE, isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, 0);
    QWidget::changeEvent(e);
}

} // namespace wnd
