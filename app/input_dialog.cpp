// Selectors, labels and parsing of the data-input dialog.
#include "input_dialog.h"

#include <cwchar>

#include "program_state.h"
#include "resource.h"

namespace {

// Field labels per pair, t_p to turbine. "t [C]  " ends with two spaces.
const wchar_t* const label_t = L"t [C]  ";
const wchar_t* const label_p = L"p [bar]";
const wchar_t* const first_labels[8] = {label_t, label_t, label_p, label_t,
                                        label_p, label_t, label_p, label_p};
const wchar_t* const second_labels[8] = {label_p,       L"h [kJ/kg]", L"h [kJ/kg]", L"s [kJ/kgC]",
                                         L"s [kJ/kgC]", L"x [0-1]",   L"x [0-1]",   L"eta [%]"};

// The pair selectors are 15 dialog units wide, which leaves the system dialog font too
// little room for a three-character label beside the check circle ("t,h" shows as "t,"):
// they get a smaller font of their own for as long as the dialog exists. Its widths are
// the face's own: a requested character width would stretch each face by its declared
// average width, which differs between faces of equal letter widths, and squeezed the
// commas into the letters. At a 9-pixel em the widest label, "p,h", is 13 pixels wide in
// Arial, the room beside the circle.
constexpr int selector_font_em = 9;
HFONT selector_font = nullptr;

void set_selector_font(HWND dialog) {
    selector_font = CreateFontW(-selector_font_em, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0,
                                0, 0, VARIABLE_PITCH | FF_SWISS, nullptr);
    for (int id = IDC_P1_TP; id <= IDC_P2_PX; ++id)
        SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(selector_font), 0);
}

void delete_selector_font() {
    if (selector_font) DeleteObject(selector_font);
    selector_font = nullptr;
}

// An edit box holds at most 19 characters for the conversion, and the terminator.
constexpr int typed_text_length = 20;

void set_check(HWND dialog, int id, bool checked) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Checks `on` and unchecks every other selector in first..last.
void check_one_of(HWND dialog, int first, int last, int on) {
    for (int id = first; id <= last; ++id) set_check(dialog, id, id == on);
}

void set_point1_labels(HWND dialog, int pair) {
    SetDlgItemTextW(dialog, IDC_P1_LABEL1, first_labels[pair]);
    SetDlgItemTextW(dialog, IDC_P1_LABEL2, second_labels[pair]);
}

void set_point2_labels(HWND dialog, int pair) {
    SetDlgItemTextW(dialog, IDC_P2_LABEL1, first_labels[pair]);
    SetDlgItemTextW(dialog, IDC_P2_LABEL2, second_labels[pair]);
}

void uncheck_turbines(HWND dialog) {
    for (int id = IDC_TURBINE_TP; id <= IDC_TURBINE_PH; ++id) set_check(dialog, id, false);
}

void choose_point1(HWND dialog, int id) {
    point1_pair = static_cast<InputPair>(id - IDC_P1_TP);
    check_one_of(dialog, IDC_P1_TP, IDC_P1_PX, id);
    uncheck_turbines(dialog);
    set_point1_labels(dialog, point1_pair);
    // Leaving a turbine case returns point 2 to (t, p).
    if (turbine_selected) {
        turbine_selected = false;
        point2_pair = t_p;
        set_check(dialog, IDC_P2_TP, true);
        set_check(dialog, IDC_P2_PS, false);
        set_point2_labels(dialog, t_p);
    }
}

void choose_point2(HWND dialog, int id) {
    point2_pair = static_cast<InputPair>(id - IDC_P2_TP);
    check_one_of(dialog, IDC_P2_TP, IDC_P2_PX, id);
    uncheck_turbines(dialog);
    set_point2_labels(dialog, point2_pair);
}

void choose_turbine(HWND dialog, int id) {
    static const InputPair inlet_pairs[3] = {t_p, t_h, p_h};
    point1_pair = inlet_pairs[id - IDC_TURBINE_TP];
    point2_pair = turbine;
    turbine_selected = true;
    check_one_of(dialog, IDC_P1_TP, IDC_P1_PX, IDC_P1_TP + point1_pair);
    // Point 2 shows "p,s": the expansion ends at a pressure on the inlet's isentrope.
    check_one_of(dialog, IDC_P2_TP, IDC_P2_PX, IDC_P2_PS);
    check_one_of(dialog, IDC_TURBINE_TP, IDC_TURBINE_PH, id);
    set_point1_labels(dialog, point1_pair);
    set_point2_labels(dialog, turbine);
}

void initialise(HWND dialog) {
    point1_pair = t_p;
    point2_pair = t_p;
    check_one_of(dialog, IDC_P1_TP, IDC_P1_PX, IDC_P1_TP);
    check_one_of(dialog, IDC_P2_TP, IDC_P2_PX, IDC_P2_TP);
    uncheck_turbines(dialog);
    set_point1_labels(dialog, t_p);
    set_point2_labels(dialog, t_p);
    turbine_selected = false;
}

double read_box(HWND dialog, int id) {
    text_buffer[0] = L'\0';
    GetDlgItemTextW(dialog, id, text_buffer, typed_text_length);
    return typed_number(text_buffer);
}

bool first_is_t(int pair) {
    return pair == t_p || pair == t_h || pair == t_s || pair == t_x;
}

// The second value of a pair goes to h (times 1000), s, x, p or the efficiency.
void store_second(int pair, double value, SteamState* state) {
    switch (pair) {
        case t_h:
        case p_h:
            state->h = value * 1000.0;
            break;
        case t_s:
        case p_s:
            state->s = value;
            break;
        case t_x:
        case p_x:
            state->x = value;
            break;
        case turbine:
            turbine_efficiency = value;
            break;
        default:
            state->p = value;
            break;
    }
}

void store_first(int pair, double value, SteamState* state) {
    if (first_is_t(pair))
        state->t = value;
    else
        state->p = value;
}

void calculate(HWND dialog) {
    store_first(point1_pair, read_box(dialog, IDC_P1_VALUE1), &point1_state);
    store_second(point1_pair, read_box(dialog, IDC_P1_VALUE2), &point1_state);
    store_first(point2_pair, read_box(dialog, IDC_P2_VALUE1), &point2_state);
    store_second(point2_pair, read_box(dialog, IDC_P2_VALUE2), &point2_state);
    EndDialog(dialog, 0);
    // Entropies are typed in kJ/kgC; a value that was not typed is 0 either way.
    point1_state.s *= 1000.0;
    point2_state.s *= 1000.0;
}

void paint_heading(HWND dialog) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(dialog, &ps);
    HFONT font = CreateFontW(17, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
    HGDIOBJ old_font = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 255));
    const wchar_t* heading = L"Introduce the start point and the end point";
    TextOutW(hdc, 22, 10, heading, static_cast<int>(wcslen(heading)));
    SelectObject(hdc, old_font);
    DeleteObject(font);
    EndPaint(dialog, &ps);
}

}  // namespace

INT_PTR CALLBACK input_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_PAINT:
            paint_heading(dialog);
            return TRUE;
        case WM_INITDIALOG:
            set_selector_font(dialog);
            initialise(dialog);
            return TRUE;
        case WM_DESTROY:
            // The selectors are gone with the dialog: their font is no longer used.
            delete_selector_font();
            break;
        case WM_COMMAND:
            // The whole wParam is compared, so only clicks match: edit-box notifications
            // and Esc (IDCANCEL) fall through.
            if (wparam >= IDC_P1_TP && wparam <= IDC_P1_PX) {
                choose_point1(dialog, static_cast<int>(wparam));
            } else if (wparam >= IDC_P2_TP && wparam <= IDC_P2_PX) {
                choose_point2(dialog, static_cast<int>(wparam));
            } else if (wparam >= IDC_TURBINE_TP && wparam <= IDC_TURBINE_PH) {
                choose_turbine(dialog, static_cast<int>(wparam));
            } else if (wparam == IDC_CALCULATE) {
                calculate(dialog);
            } else {
                break;
            }
            return TRUE;
        default:
            break;
    }
    return FALSE;
}
