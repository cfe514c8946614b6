// A plain skinned test window with a few controls, and icon files made for the test.
#pragma once

#include "controls/BkDialogST.h"
#include "platform/wnd/DialogTemplate.h"
#include "tests/support/TempDir.h"

#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <string>

namespace test {

constexpr UINT kSkinTestTemplate = 9100;
constexpr UINT kButtonA = 200;
constexpr UINT kButtonB = 201;
constexpr UINT kLabelId = 202;

inline void RegisterSkinTestTemplate()
{
    DialogTemplate t;
    t.id = kSkinTestTemplate;
    t.style = WS_POPUP;
    t.rect = CRect(50, 50, 350, 250);
    t.controls = {
        {"Button", "A", kButtonA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(20, 20, 60, 50)},
        {"Button", "B", kButtonB, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(80, 20, 120, 50)},
        {"Static", "label", kLabelId, WS_CHILD | WS_VISIBLE, CRect(20, 80, 200, 100)},
    };
    wnd::RegisterDialogTemplate(t);
}

// An icon file of one colour; the hot spot is the centre, so the button sizes it w x h.
inline std::string WriteIcon(const TempDir& dir, const std::string& name, QColor colour, int w = 10,
                             int h = 10)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    const std::string path = dir.file(name);
    QImageWriter writer(QString::fromStdString(path), "ico");
    writer.write(image);
    return path;
}

} // namespace test
