// Dialog templates in code: the window and its controls, in pixels, registered by resource id.
#pragma once

#include "platform/gdi/Geometry.h"

#include <string>
#include <vector>

struct ControlTemplate
{
    std::string className; // "Button", "Static", "ComboBox" or a custom class
    std::string text;
    UINT id;
    DWORD style;
    CRect rect;
    UINT imageId = 0; // the bitmap resource of an SS_BITMAP static
};

struct DialogTemplate
{
    UINT id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rect;
    std::string caption;
    std::string fontFace = "MS Shell Dlg";
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;
};

namespace wnd {
void RegisterDialogTemplate(const DialogTemplate& tmpl);
const DialogTemplate* FindDialogTemplate(UINT id);
} // namespace wnd
