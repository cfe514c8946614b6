// Driving windows of the window layer from tests: the pointer and keys at client coordinates,
// the manual clock, posted messages, rendering, and answering modal dialogs.
#pragma once

#include "platform/os/WinTypes.h"

#include <QImage>
#include <deque>
#include <string>
#include <vector>

class CWnd;

namespace test {

// Pointer actions at a point of `wnd`'s client area (delivered through its top-level window).
void MouseMove(CWnd* wnd, int x, int y);
void MouseDown(CWnd* wnd, int x, int y);
void MouseUp(CWnd* wnd, int x, int y);
void Click(CWnd* wnd, int x, int y);
void DoubleClick(CWnd* wnd, int x, int y);
void RightClick(CWnd* wnd, int x, int y);
// Pointer leaves the top-level window.
void MouseLeave(CWnd* wnd);
// Press and release a key (a VK_ code) on the top-level window of `wnd`.
void Key(CWnd* wnd, UINT vk, bool shift = false);

// Moves the manual clock forward, firing due timers and delivering posted messages.
void Advance(std::uint64_t ms);
// Delivers posted messages and pending Qt events.
void Pump();

// The window as a user sees it, children included.
QImage Render(CWnd* wnd);
// Pixel of a rendered image as RGB (COLORREF order is BGR, so compare with qRgb).
QRgb PixelAt(const QImage& image, int x, int y);

// Answers every modal dialog and message box while alive, recording their texts; answers are
// taken from the queue in order, then `fallback`.
class ModalAnswers
{
public:
    explicit ModalAnswers(int fallback = 1 /* IDOK */);
    ~ModalAnswers();
    void Push(int answer) { m_answers.push_back(answer); }
    const std::vector<std::string>& texts() const { return m_texts; }
    const std::vector<bool>& standardBoxes() const { return m_standard; }

private:
    std::deque<int> m_answers;
    int m_fallback;
    std::vector<std::string> m_texts;
    std::vector<bool> m_standard;
};

} // namespace test
