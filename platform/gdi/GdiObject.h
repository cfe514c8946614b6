// CGdiObject: the class library's owner of one drawing object handle, base of CPen, CBrush,
// CFont, CBitmap and CRgn. The destructor deletes the object it holds.
#pragma once

#include "platform/gdi/Gdi.h"

class CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // Takes ownership of the handle; FromHandle answers this object for it from then on.
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject() { return m_hObject != nullptr; }
    int GetObject(int size, LPVOID out) const { return ::GetObjectA(m_hObject, size, out); }
    UINT GetObjectType() const { return ::GetObjectType(m_hObject); }

    // The object holding the handle: the attached one, or a wrapper that lives as long as the handle
    // and never deletes it. nullptr for a null handle.
    static CGdiObject* FromHandle(HGDIOBJ handle);

protected:
    template <class T> static T* FromHandleAs(HGDIOBJ handle);
    static CGdiObject* Lookup(HGDIOBJ handle);
    static void Adopt(HGDIOBJ handle, CGdiObject* wrapper);
};

template <class T> T* CGdiObject::FromHandleAs(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    if (CGdiObject* o = Lookup(handle)) {
        if (T* t = dynamic_cast<T*>(o))
            return t;
    }
    T* w = new T;
    w->m_hObject = handle;
    Adopt(handle, w);
    return w;
}
