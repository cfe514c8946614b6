// Test driving of the window layer.
#include "tests/support/WndHarness.h"

#include "platform/os/Clock.h"
#include "platform/wnd/InputRouter.h"
#include "platform/wnd/MessageQueue.h"
#include "platform/wnd/ModalHook.h"
#include "platform/wnd/Wnd.h"
#include "platform/wnd/WndInternal.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace test {
namespace {

using wnd::InputRouter;

QPoint InTop(CWnd* w, int x, int y)
{
    return WndAccess::OriginInTop(w) + QPoint(x, y);
}

void Route(CWnd* w, InputRouter::Action a, InputRouter::Button b, int x, int y)
{
    CWnd* top = w->GetTopLevelParent();
    InputRouter::Mouse(top, a, b, InTop(w, x, y), 0);
    Pump();
}

} // namespace

void MouseMove(CWnd* w, int x, int y)
{
    Route(w, InputRouter::Action::Move, InputRouter::Button::Left, x, y);
}
void MouseDown(CWnd* w, int x, int y)
{
    Route(w, InputRouter::Action::Press, InputRouter::Button::Left, x, y);
}
void MouseUp(CWnd* w, int x, int y)
{
    Route(w, InputRouter::Action::Release, InputRouter::Button::Left, x, y);
}

void Click(CWnd* w, int x, int y)
{
    MouseMove(w, x, y);
    MouseDown(w, x, y);
    MouseUp(w, x, y);
}

void DoubleClick(CWnd* w, int x, int y)
{
    Click(w, x, y);
    Route(w, InputRouter::Action::DoubleClick, InputRouter::Button::Left, x, y);
    MouseUp(w, x, y);
}

void RightClick(CWnd* w, int x, int y)
{
    Route(w, InputRouter::Action::Press, InputRouter::Button::Right, x, y);
    Route(w, InputRouter::Action::Release, InputRouter::Button::Right, x, y);
}

void MouseLeave(CWnd* w)
{
    InputRouter::PointerLeftTopLevel(w->GetTopLevelParent());
    Pump();
}

void Key(CWnd* w, UINT vk, bool shift)
{
    CWnd* top = w->GetTopLevelParent();
    InputRouter::SetModifiers(shift, false);
    InputRouter::Key(top, vk, true, nullptr);
    if (top->m_hWnd)
        InputRouter::Key(top, vk, false, nullptr);
    InputRouter::SetModifiers(false, false);
    Pump();
}

void Advance(std::uint64_t ms)
{
    os::Clock::Advance(ms);
    Pump();
}

void Pump()
{
    wnd::MessageQueue::DeliverPosted();
    QCoreApplication::processEvents();
    wnd::MessageQueue::DeliverPosted();
}

QImage Render(CWnd* w)
{
    QWidget* widget = w ? w->GetNativeWidget() : nullptr;
    if (!widget)
        return {};
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb PixelAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

ModalAnswers::ModalAnswers(int fallback) : m_fallback(fallback)
{
    wnd::SetModalHook([this](const wnd::ModalRequest& rq) {
        m_texts.push_back(rq.text);
        m_standard.push_back(rq.standardMessageBox);
        if (!m_answers.empty()) {
            int a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        return m_fallback;
    });
}

ModalAnswers::~ModalAnswers()
{
    wnd::SetModalHook(nullptr);
}

} // namespace test
