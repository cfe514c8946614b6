// CGdiObject and the map from handles to the objects that stand for them.
#include "platform/gdi/GdiObject.h"

#include "platform/gdi/GdiPrivate.h"

#include <unordered_map>

namespace {

struct Entry
{
    CGdiObject* object;
    bool owned; // a wrapper made by FromHandle, freed with its handle
};

struct WrapperMap
{
    std::unordered_map<HGDIOBJ, Entry> map;
};

// Never destroyed: objects with static lifetime may still free handles during exit.
WrapperMap& Wrappers()
{
    static WrapperMap* m = new WrapperMap;
    return *m;
}

void Drop(HGDIOBJ handle, const CGdiObject* onlyIf)
{
    auto& m = Wrappers().map;
    auto it = m.find(handle);
    if (it == m.end() || (onlyIf && it->second.object != onlyIf))
        return;
    Entry e = it->second;
    m.erase(it);
    if (e.owned) {
        e.object->m_hObject = nullptr;
        delete e.object;
    }
}

} // namespace

namespace gdi::detail {
void ForgetWrapper(void* handle)
{
    Drop(static_cast<HGDIOBJ>(handle), nullptr);
}
} // namespace gdi::detail

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    Drop(handle, nullptr);
    Wrappers().map[handle] = Entry{this, false};
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h)
        Drop(h, this);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index)
{
    HGDIOBJ h = ::GetStockObject(index);
    return h ? Attach(h) : FALSE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    return FromHandleAs<CGdiObject>(handle);
}

CGdiObject* CGdiObject::Lookup(HGDIOBJ handle)
{
    auto& m = Wrappers().map;
    auto it = m.find(handle);
    return it == m.end() ? nullptr : it->second.object;
}

void CGdiObject::Adopt(HGDIOBJ handle, CGdiObject* wrapper)
{
    Drop(handle, nullptr); // a wrapper of another class for a reused address
    Wrappers().map[handle] = Entry{wrapper, true};
}
