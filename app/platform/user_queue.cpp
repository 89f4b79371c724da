// The message queue and the accelerator table.
//
// GTK's signal handlers never call a window procedure: they post messages, and the
// program's own GetMessageW / DispatchMessageW loop delivers them. WM_PAINT is made when
// nothing else is queued, so a modal dialog's nested loop keeps its owner repainted.
#include <algorithm>
#include <deque>
#include <map>

#include "test_hook.h"
#include "user_internal.h"

namespace vapora::user {
namespace {

std::deque<MSG>& queue() {
    static std::deque<MSG> q;
    return q;
}

bool quit_posted = false;
int quit_code = 0;

// The next message, or false when there is none: posted ones first, then the quit
// message, then a WM_PAINT for a window waiting for one, as on Windows.
bool fetch(MSG* m) {
    auto& q = queue();
    if (!q.empty()) {
        *m = q.front();
        q.pop_front();
        return true;
    }
    if (quit_posted) {
        quit_posted = false;
        *m = MSG{nullptr, WM_QUIT, (WPARAM)quit_code, 0, 0, {0, 0}};
        return true;
    }
    if (HWND w = window_needing_paint()) {
        *m = MSG{w, WM_PAINT, 0, 0, 0, {0, 0}};
        return true;
    }
    return false;
}

}  // namespace

void post(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD time) {
    auto& q = queue();
    // Windows keeps at most one pending mouse move: a newer one replaces it.
    if (msg == WM_MOUSEMOVE && !q.empty() && q.back().hwnd == w && q.back().message == msg)
        q.pop_back();
    if (!time) time = (DWORD)(g_get_monotonic_time() / 1000);
    q.push_back(MSG{w, msg, wp, lp, time, {0, 0}});
}

void drop_messages_of(HWND w) {
    auto& q = queue();
    q.erase(std::remove_if(q.begin(), q.end(), [&](const MSG& m) { return m.hwnd == w; }), q.end());
}

LRESULT call_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (!is_live(w)) return 0;
    ++w->busy;
    LRESULT r = w->kind == WndKind::Dialog ? dialog_default_proc(w, msg, wp, lp)
                : w->proc                  ? w->proc(w, msg, wp, lp)
                                           : 0;
    if (w->kind != WndKind::Control) platform_test_hook("message", w, msg);
    --w->busy;
    return r;
}

void modal_loop(const bool* done) {
    MSG m;
    while (!*done) {
        if (!GetMessageW(&m, nullptr, 0, 0)) {
            PostQuitMessage((int)m.wParam);  // the outer loop must see it too
            return;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace vapora::user

using namespace vapora::user;

struct HACCEL__ {
    const std::vector<vapora::rc::Accelerator>* entries;
};

// Waits in GTK until an event becomes a message; every pass blocks, so the loop wakes
// as soon as input arrives or a window needs painting. Filters are not supported.
BOOL GetMessageW(MSG* m, HWND, UINT, UINT) {
    if (!m) return -1;
    ensure_gtk();
    free_destroyed_windows();
    while (!fetch(m)) gtk_main_iteration_do(TRUE);
    return m->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* m) {
    if (!m || (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN)) return FALSE;
    wchar_t ch = char_of_key(*m);
    if (!ch) return FALSE;
    // The character comes before later input, as on Windows.
    UINT msg = m->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    queue().push_front(MSG{m->hwnd, msg, (WPARAM)ch, m->lParam, m->time, m->pt});
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* m) {
    return m ? call_proc(m->hwnd, m->message, m->wParam, m->lParam) : 0;
}

void PostQuitMessage(int code) {
    quit_posted = true;
    quit_code = code;
}

HACCEL LoadAcceleratorsW(HINSTANCE, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    vapora::rc::ResName key;
    key.number = (int)(UINT_PTR)name;
    auto it = resources().accelerators.find(key);
    if (it == resources().accelerators.end()) return nullptr;
    static std::map<int, HACCEL__> tables;  // one handle per table, never freed
    HACCEL__& table = tables[key.number];
    table.entries = &it->second;
    return &table;
}

// Character entries only (ASCII in the script), matched on the character a key made and
// whether Alt was held; the table gives the command to the window as WM_COMMAND.
int TranslateAcceleratorW(HWND w, HACCEL table, MSG* m) {
    if (!table || !m || !is_live(w) || (m->message != WM_CHAR && m->message != WM_SYSCHAR))
        return 0;
    bool alt = (m->lParam >> 29) & 1;
    for (const vapora::rc::Accelerator& a : *table->entries) {
        if ((a.flags & FVIRTKEY) || a.key != m->wParam || alt != ((a.flags & FALT) != 0)) continue;
        call_proc(w, WM_COMMAND, MAKEWPARAM(a.command, 1), 0);
        return 1;
    }
    return 0;
}
