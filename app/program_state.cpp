// Storage and initial values of the program state: everything zero except the two
// interaction flags, which start true.
#include "program_state.h"

HINSTANCE app_instance = nullptr;

wchar_t window_title[title_buffer_length] = {};
wchar_t window_class_name[title_buffer_length] = {};

SteamState cursor_state = {};
SteamState point1_state = {};
SteamState point2_state = {};
double turbine_efficiency = 0.0;

InputPair point1_pair = t_p;
InputPair point2_pair = t_p;

POINT cursor_px = {0, 0};
POINT previous_cursor_px = {0, 0};
POINT point1_px = {0, 0};
POINT point2_px = {0, 0};

RECT client_rect = {0, 0, 0, 0};
DiagramFrame diagram_frame = {};

bool awaiting_first_point = true;
bool rubber_band_fresh = true;
bool turbine_selected = false;
