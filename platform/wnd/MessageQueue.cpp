// Posted messages ride on Qt's event queue, which keeps their order.
#include "platform/wnd/MessageQueue.h"

#include "platform/wnd/Wnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace wnd {
namespace {

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent
{
public:
    PostedMessage(HWND h, UINT m, WPARAM w, LPARAM l) : QEvent(kPostedMessageEvent), msg{h, m, w, l} {}
    MSG msg;
};

class Dispatcher : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kPostedMessageEvent)
            return QObject::event(e);
        const MSG& m = static_cast<PostedMessage*>(e)->msg;
        if (CWnd* w = CWnd::FromHandle(m.hwnd)) {
            MSG copy = m;
            if (!w->GetTopLevelParent() || !w->GetTopLevelParent()->PreTranslateMessage(&copy))
                w->SendMessage(m.message, m.wParam, m.lParam);
        }
        return true;
    }
};

Dispatcher& TheDispatcher()
{
    static Dispatcher d;
    return d;
}

} // namespace

void MessageQueue::Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication::postEvent(&TheDispatcher(), new PostedMessage(hWnd, message, wParam, lParam));
}

void MessageQueue::DeliverPosted()
{
    QCoreApplication::sendPostedEvents(&TheDispatcher(), kPostedMessageEvent);
}

} // namespace wnd
