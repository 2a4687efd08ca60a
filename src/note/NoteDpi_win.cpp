#include "note/NoteDpi_win.h"

#include "note/DpiScale.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/StoredDpi.h"
#include "storage/Settings.h"

namespace Brisvane {

void NoteDpi::change(int newDpi, const RECT& suggested) {
    const int oldDpi = note_.dpi;
    note_.dpi = effectiveDpi(newDpi);
    applyTextZoom();
    applyMargins();
    keepStored(oldDpi);
    // Folded, the window is the title bar at the new DPI.
    const int height = note_.folded ? note_.foldHeight() : suggested.bottom - suggested.top;
    SetWindowPos(note_.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
    note_.layout();
    note_.drawing.render(); // at the text's new zoom
}

void NoteDpi::applyTextZoom() {
    // Rich Edit turns twips into pixels at the DPI of its device context.
    ScopedWindowDC dc(note_.bodyEdit);
    if (!dc.get()) {
        return;
    }
    const TextZoom zoom = textZoom(note_.dpi, GetDeviceCaps(dc.get(), LOGPIXELSY));
    for (HWND edit : {note_.titleEdit, note_.bodyEdit}) {
        SendMessageW(edit, EM_SETZOOM, static_cast<WPARAM>(zoom.numerator), zoom.denominator);
    }
    // The drawing keeps its place on the words: stored coordinates stay, the view zooms.
    note_.drawing.scale =
        zoom.numerator > 0 ? static_cast<float>(zoom.numerator) / static_cast<float>(zoom.denominator) : 1.0f;
}

void NoteDpi::applyMargins() {
    if (note_.app && note_.bodyEdit) {
        SendMessageW(note_.bodyEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(note_.px(marginLeft(note_.app->settings)),
                                note_.px(marginRight(note_.app->settings))));
    }
}

void NoteDpi::adoptStored() {
    // Only in memory: the file keeps what it says until something else is
    // saved. Two machines of different DPIs sharing a synced folder would
    // otherwise rewrite each other's file every time one opens it.
    adoptScreenDpi(note_.document.json, note_.dpi);
}

void NoteDpi::keepStored(int oldDpi) {
    // Unfolded, the layout that follows stores the size the system gave the
    // window; folded, the stored unfolded size is scaled here, both sides alike.
    bool changed = note_.folded && rescaleStoredSize(note_.document.json, oldDpi, note_.dpi);
    changed |= storeAt(note_.document.json, {"window", "dpi"}, static_cast<std::int64_t>(note_.dpi));
    if (changed) {
        note_.markChanged(SaveJson);
    }
}

} // namespace Brisvane
