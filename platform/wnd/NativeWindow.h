// The Qt widget behind a CWnd. It only translates Qt's paint, input and geometry events into
// messages for its window object; a top-level one also routes all mouse and key input of its
// children (which are transparent to Qt's own input delivery), so hit-testing, capture and the
// window shape behave the same on every Qt platform, offscreen included.
#pragma once

#include <QWidget>

class CWnd;
class QPainter;

namespace wnd {

class NativeWindow : public QWidget
{
public:
    NativeWindow(CWnd* owner, QWidget* parent, bool topLevel);
    ~NativeWindow() override;

    CWnd* owner() const { return m_owner; }
    void setOwner(CWnd* owner) { m_owner = owner; }

    // The painter of the paint in progress, for BeginPaint; nullptr outside a paint.
    QPainter* currentPainter() const { return m_painter; }
    QRect currentPaintRect() const { return m_paintRect; }
    bool erasePending() const { return m_erasePending; }
    // Whether one of this widget's events is being handled (it must not be deleted meanwhile).
    bool isDispatching() const { return m_dispatchDepth > 0; }
    void clearErasePending() { m_erasePending = false; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    CWnd* m_owner;
    bool m_topLevel;
    QPainter* m_painter = nullptr;
    QRect m_paintRect;
    bool m_erasePending = true;
    int m_dispatchDepth = 0;
};

} // namespace wnd
