// Skinned dialog background, shape and drag.
#include "controls/BkDialogST.h"

#include "platform/gdi/Gdi.h"

#include <cstring>

CBkDialogST::CBkDialogST(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_hNullBrush(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))
{
}

CBkDialogST::~CBkDialogST()
{
    if (m_hBkBitmap)
        DeleteObject(m_hBkBitmap);
}

int CBkDialogST::SetBitmap(HBITMAP hBitmap)
{
    if (m_hBkBitmap) {
        DeleteObject(m_hBkBitmap);
        m_hBkBitmap = nullptr;
    }
    m_nBkWidth = 0;
    m_nBkHeight = 0;
    if (hBitmap) {
        BITMAP bm{};
        if (!GetObjectA(hBitmap, sizeof(bm), &bm)) {
            DeleteObject(hBitmap);
            return 1;
        }
        m_hBkBitmap = hBitmap;
        m_nBkWidth = bm.bmWidth;
        m_nBkHeight = bm.bmHeight;
    }
    Invalidate(TRUE);
    return 0;
}

void CBkDialogST::CreateRegionFromBitmap(UINT nBitmapId)
{
    HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(nBitmapId));
    if (!bitmap)
        return; // the window keeps its rectangular shape
    BITMAP bm{};
    GetObjectA(bitmap, sizeof(bm), &bm);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < bm.bmHeight; ++y) {
        int x = 0;
        while (x < bm.bmWidth) {
            while (x < bm.bmWidth && GetPixel(mem, x, y) == kSkinKeyColour)
                ++x;
            const int x0 = x;
            while (x < bm.bmWidth && GetPixel(mem, x, y) != kSkinKeyColour)
                ++x;
            if (x > x0) {
                HRGN run = CreateRectRgn(x0, y, x, y + 1);
                CombineRgn(region, region, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);
    SetWindowRgn(region, TRUE); // the window owns the region from here on
}

void CBkDialogST::ApplySkin(UINT nBitmapId)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(nBitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    BITMAP bm{};
    if (bitmap && GetObjectA(bitmap, sizeof(bm), &bm))
        SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    SetBitmap(bitmap);
    CreateRegionFromBitmap(nBitmapId);
    m_bDragAnywhere = true;
}

BOOL CBkDialogST::OnEraseBkgnd(CDC* pDC)
{
    const BOOL result = CDialog::OnEraseBkgnd(pDC);
    if (!m_hBkBitmap || !pDC || m_nBkWidth <= 0 || m_nBkHeight <= 0)
        return result;
    CRect client;
    GetClientRect(&client);
    HDC target = pDC->GetSafeHdc();

    // Compose off-screen, then one block copy, so the skin never flickers.
    HDC compose = CreateCompatibleDC(target);
    HBITMAP image = CreateCompatibleBitmap(target, client.Width(), client.Height());
    HGDIOBJ oldImage = SelectObject(compose, image);
    HBRUSH back = CreateSolidBrush(GetBkColor(target));
    FillRect(compose, &client, back);
    DeleteObject(back);

    HDC tile = CreateCompatibleDC(target);
    HGDIOBJ oldTile = SelectObject(tile, m_hBkBitmap);
    for (int y = 0; y < client.Height(); y += m_nBkHeight)
        for (int x = 0; x < client.Width(); x += m_nBkWidth)
            BitBlt(compose, x, y, m_nBkWidth, m_nBkHeight, tile, 0, 0, SRCCOPY);
    SelectObject(tile, oldTile);
    DeleteDC(tile);

    BitBlt(target, 0, 0, client.Width(), client.Height(), compose, 0, 0, SRCCOPY);
    SelectObject(compose, oldImage);
    DeleteObject(image);
    DeleteDC(compose);
    return result;
}

void CBkDialogST::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_hBkBitmap)
        Invalidate(TRUE);
}

void CBkDialogST::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bDragAnywhere)
        SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); // as if the title bar had been grabbed
    CDialog::OnLButtonDown(nFlags, point);
}

HBRUSH CBkDialogST::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (m_bTransparentStatics && nCtlColor == CTLCOLOR_STATIC && pWnd) {
        char className[256] = {};
        GetClassNameA(pWnd->m_hWnd, className, 255);
        if (std::strcmp(className, "msctls_trackbar32") == 0)
            return brush;
        pDC->SetBkMode(TRANSPARENT);
        return m_hNullBrush;
    }
    return brush;
}
